// What the OpenGL panel asks of the window system: descriptor flags, bit
// counts and their mapping onto a surface format. No context is needed.

#include "view/clSetupGL/clSetupGL.h"

#include <QSurfaceFormat>

#include <gtest/gtest.h>

TEST(SetupGLFormat, PixelFlagsFollowTheTable)
{
    EXPECT_EQ(BuildPixelFlags({}), 0);
    EXPECT_EQ(BuildPixelFlags({ pxDoubleBuffer, pxDrawToWindow, pxSupportOpenGL }), 1 + 4 + 32);
    EXPECT_EQ(BuildPixelFlags({ pxDrawToBitmap, pxStereo, pxGenericAccelerated }), 8 + 2 + 4096);
    // GDI drawing only counts with a single buffer.
    EXPECT_EQ(BuildPixelFlags({ pxDoubleBuffer, pxSupportGDI }), PFD_DOUBLEBUFFER);
    EXPECT_EQ(BuildPixelFlags({ pxSupportGDI }), PFD_SUPPORT_GDI);
}

TEST(SetupGLFormat, FormatPixelsIsOneByteWithBitNForOrdinalN)
{
    const TFormatPixels set { pxDoubleBuffer, pxSupportOpenGL, pxGenericAccelerated };
    EXPECT_EQ(set.Byte(), 0b1001001);
    EXPECT_EQ(TFormatPixels::FromByte(0b1001001), set);
    EXPECT_TRUE(set.Contains(pxSupportOpenGL));
    EXPECT_FALSE(set.Contains(pxStereo));
    // Bits beyond the seven options are not members of anything.
    EXPECT_EQ(TFormatPixels::FromByte(0xFF).Byte(), 0x7F);
}

TEST(SetupGLFormat, DepthPropertiesConvertBetweenEnumerationAndBits)
{
    EXPECT_EQ(BitsToTampon(24), t24bits);
    EXPECT_EQ(BitsToTampon(32), t32bits);
    EXPECT_EQ(BitsToTampon(16), t16bits);
    EXPECT_EQ(BitsToTampon(8), t16bits);
    EXPECT_EQ(BitsToTampon(-1), t16bits);
    EXPECT_EQ(TamponToBits(t16bits), 16);
    EXPECT_EQ(TamponToBits(t24bits), 24);
    EXPECT_EQ(TamponToBits(t32bits), 32);
    EXPECT_EQ(TamponToBits(static_cast<TTamponBits>(7)), 16);

    TSetupGL panel;
    panel.SetProfondeurCouleur(t32bits);
    panel.SetProfondeurTampon(t24bits);
    EXPECT_EQ(panel.ColourBits(), 32);
    EXPECT_EQ(panel.DepthBits(), 24);
    EXPECT_EQ(panel.ProfondeurCouleur(), t32bits);
    // The published properties reach the same fields, as a form
    // description sets them.
    panel.setProperty("ProfondeurStencil", QVariant::fromValue(t24bits));
    panel.setProperty("UtiliserStencilTampon", true);
    panel.setProperty("FormatPixels", int(TFormatPixels { pxDrawToWindow }.Byte()));
    EXPECT_EQ(panel.StencilBits(), 24);
    EXPECT_TRUE(panel.UtiliserStencilTampon());
    EXPECT_EQ(panel.FormatPixels(), TFormatPixels { pxDrawToWindow });
}

TEST(SetupGLFormat, StartsWithTheDesignDefaults)
{
    TSetupGL panel;
    EXPECT_EQ(panel.ColourBits(), 16);
    EXPECT_EQ(panel.DepthBits(), 16);
    EXPECT_EQ(panel.StencilBits(), 16);
    EXPECT_EQ(panel.AccumBits(), 16);
    EXPECT_TRUE(panel.UtiliserDoubleTampon());
    EXPECT_FALSE(panel.UtiliserStencilTampon());
    EXPECT_FALSE(panel.UtiliserAccumulationTampon());
    EXPECT_EQ(panel.FormatPixels(), (TFormatPixels { pxDoubleBuffer, pxDrawToWindow, pxSupportOpenGL }));
    EXPECT_FALSE(panel.Initialised());
    EXPECT_EQ(panel.RC(), nullptr);
}

TEST(SetupGLFormat, UnusedBuffersAreRequestedWithZeroBits)
{
    TSetupGL panel;
    panel.SetProfondeurStencil(t32bits);
    panel.SetProfondeurAccum(t24bits);
    TPixelFormatRequest request = panel.PixelFormatRequest();
    EXPECT_EQ(request.StencilBits, 0);
    EXPECT_EQ(request.AccumBits, 0);

    panel.SetUtiliserStencilTampon(true);
    panel.SetUtiliserAccumulationTampon(true);
    request = panel.PixelFormatRequest();
    EXPECT_EQ(request.StencilBits, 32);
    EXPECT_EQ(request.AccumBits, 24);
    EXPECT_EQ(request.Flags, PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL);
}

TEST(SetupGLFormat, SurfaceFormatCarriesBufferingAndBitCounts)
{
    TPixelFormatRequest request;
    request.Flags = PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL;
    request.ColorBits = 16;
    request.DepthBits = 24;
    request.StencilBits = 0;
    QSurfaceFormat format = SurfaceFormatFor(request);
    EXPECT_EQ(format.profile(), QSurfaceFormat::CompatibilityProfile);
    EXPECT_EQ(format.swapBehavior(), QSurfaceFormat::DoubleBuffer);
    EXPECT_EQ(format.redBufferSize() + format.greenBufferSize() + format.blueBufferSize(), 16);
    EXPECT_EQ(format.alphaBufferSize(), 0);
    EXPECT_EQ(format.depthBufferSize(), 24);
    EXPECT_EQ(format.stencilBufferSize(), 0);
    EXPECT_FALSE(format.stereo());

    request.Flags = PFD_STEREO;
    request.ColorBits = 32;
    request.StencilBits = 16;
    format = SurfaceFormatFor(request);
    EXPECT_EQ(format.swapBehavior(), QSurfaceFormat::SingleBuffer);
    EXPECT_TRUE(format.stereo());
    EXPECT_EQ(format.redBufferSize(), 8);
    EXPECT_EQ(format.alphaBufferSize(), 8);
    EXPECT_EQ(format.stencilBufferSize(), 16);
}
