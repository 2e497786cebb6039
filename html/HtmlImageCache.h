#pragma once
// The process-wide image cache shared by every viewer: images by name
// (upper-cased, trimmed), kept while image objects use them and for a few
// page loads after.

#include "html/HtmlBitmaps.h"
#include "platform/TObject.h"

#include <QImage>

#include <memory>
#include <string>
#include <vector>

class TGIFImage;

class TBitmapItem : public TObject {
public:
    QImage Image;
    QImage Mask;
    std::shared_ptr<TGIFImage> Animated;
    TTransparency Transparency = TTransparency::None;
    int UsageCount = 0;
    int AccessCount = 0; // the age
};

class TStringBitmapList : public TObject {
public:
    static constexpr int DefaultMaxAge = 4;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Index of the key (already upper-cased and trimmed), or -1.
    int IndexOf(const std::string& key) const;
    const std::string& Key(int index) const { return FItems.at(static_cast<size_t>(index)).Key; }
    TBitmapItem* Item(int index) const { return FItems.at(static_cast<size_t>(index)).Item.get(); }
    // Stores a new item; adding counts one use.
    int AddObject(const std::string& key, std::unique_ptr<TBitmapItem> item);

    // Age 0, one more use; returns the item.
    TBitmapItem* Take(int index);
    // One use less for the item of that name (any case, blanks around).
    void Release(const std::string& name);
    // Every item one step older; unused items older than the maximum age go.
    void Age();
    // Frees unused items older than n and keeps n as the maximum age.
    void SetMaxAge(int n);
    int MaxAge() const { return FMaxAge; }
    // Frees every unused item.
    void Purge();
    // Frees everything (end of the process, tests).
    void Clear() { FItems.clear(); }

private:
    struct TEntry {
        std::string Key;
        std::unique_ptr<TBitmapItem> Item;
    };
    template <class Pred>
    void RemoveUnusedIf(Pred pred);

    std::vector<TEntry> FItems; // sorted by key
    int FMaxAge = DefaultMaxAge;
};

// The cache of the process.
TStringBitmapList& BitmapList();
// Cache key of an image name: upper-cased and trimmed.
std::string ImageCacheKey(const std::string& name);
