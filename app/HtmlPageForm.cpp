#include "app/HtmlPageForm.h"

#include "app/TutorialViewer.h"
#include "app/KorvalithForm.h"
#include "app/LinkDispatch.h"
#include "app/PageDirectives.h"
#include "html/HtmlPane.h"
#include "html/HtmlSupport.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/StringList.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "ui_HtmlPageForm.h"

TForm_Html* Form_Html = nullptr;

namespace {

// Date and time directives share one buffer for the whole run: each one
// replaces the text of the previous one.
QByteArray& DateTimeBuffer()
{
    static QByteArray buffer;
    return buffer;
}

void AnswerWith(const QByteArray& text, QByteArray& buffer, int& buffSize)
{
    buffer = text;
    buffSize = static_cast<int>(text.size());
}

bool IsImageExtension(const QString& extension)
{
    static const QStringList images = { QStringLiteral(".bmp"), QStringLiteral(".gif"), QStringLiteral(".jpg"),
        QStringLiteral(".jpeg"), QStringLiteral(".png") };
    return images.contains(extension);
}

} // namespace

TForm_Html::TForm_Html(QWidget* owner)
    : TForm(owner)
    , FUi(std::make_unique<Ui::TForm_Html>())
{
    FUi->setupUi(this);
    Splitter2 = FUi->Splitter2;
    GroupBoxHtml = FUi->GroupBoxHtml;
    htmlViewer = FUi->htmlViewer;
    HtmlViewerPanel = FUi->HtmlViewerPanel;
    Button_Sommaire = FUi->Button_Sommaire;
    Button_SommaireDidacticiel = FUi->Button_SommaireDidacticiel;

    setBackgroundRole(QPalette::Button);
    SetFontPixels(this, QStringLiteral("MS Sans Serif"), 11);
    SetFontPixels(Button_Sommaire, QStringLiteral("MS Sans Serif"), 16);
    SetFontPixels(Button_SommaireDidacticiel, QStringLiteral("MS Sans Serif"), 16);

    SetUpTutorialViewer(*htmlViewer, TViewImages::Shown);
    BindViewerEvents();

    MetaTimer = new QTimer(this);
    MetaTimer->setInterval(1000);
    MetaTimer->start();
    connect(MetaTimer, &QTimer::timeout, this, [this]() { ReportFailures([this]() { MetaTimerTimer(); }); });

    connect(Button_Sommaire, &QPushButton::clicked, this, &TForm_Html::Button_SommaireClick);
    connect(Button_SommaireDidacticiel, &QPushButton::clicked, this, &TForm_Html::Button_SommaireDidacticielClick);
    FormCreate();
}

TForm_Html::~TForm_Html()
{
    FormDestroy();
    if (Form_Html == this)
        Form_Html = nullptr;
}

void TForm_Html::BindViewerEvents()
{
    htmlViewer->OnHotSpotClick = [this](QObject* sender, const std::string& src, bool& handled) {
        htmlViewerHotSpotClick(sender, src, handled);
    };
    htmlViewer->OnHotSpotCovered
        = [this](QObject* sender, const std::string& src) { htmlViewerHotSpotCovered(sender, src); };
    htmlViewer->OnInclude = [this](const QString& command, std::unique_ptr<TStringList> params, QByteArray& buffer,
                                int& buffSize) { htmlViewerInclude(command, std::move(params), buffer, buffSize); };
    htmlViewer->OnMetaRefresh
        = [this](QObject* sender, int delay, const std::string& url) { htmlViewerMetaRefresh(sender, delay, url); };
    htmlViewer->OnProcessing = [this](QObject* sender, bool on) { htmlViewerProcessing(sender, on); };
}

// The desktop may drop files on the window.
void TForm_Html::FormCreate() { setAcceptDrops(true); }

void TForm_Html::FormShow()
{
    MetaTimer->start();
    ReportFailures([this]() { htmlViewer->LoadHtmlFile(PageFile); });
}

void TForm_Html::FormClose()
{
    MetaTimer->stop();
    if (ReturnWindow != nullptr) {
        ReturnWindow->SetWindowState(TWindowState::wsMaximized);
        ReturnWindow->Show();
    }
}

void TForm_Html::FormDeactivate() { SetWindowState(TWindowState::wsMinimized); }

void TForm_Html::FormDestroy() { }

void TForm_Html::Button_SommaireDidacticielClick() { Close(); }

void TForm_Html::Button_SommaireClick()
{
    if (Form_Korvalith == nullptr)
        return;
    Form_Korvalith->SetWindowState(TWindowState::wsMaximized);
    Form_Korvalith->Show();
}

// The link text comes from the viewer's LinkURL, the link just clicked.
void TForm_Html::htmlViewerHotSpotClick(QObject*, const std::string&, bool& Handled)
{
    Handled = DispatchLink(
        htmlViewer->LinkURL(), [this](const std::string& name) { return htmlViewer->ExpandLinkName(name); });
}

void TForm_Html::htmlViewerHotSpotCovered(QObject*, const std::string&) { }

void TForm_Html::htmlViewerProcessing(QObject*, bool) { }

// Params is destroyed on return, whatever the command.
void TForm_Html::htmlViewerInclude(
    const QString& Command, std::unique_ptr<TStringList> Params, QByteArray& Buffer, int& BuffSize)
{
    BuffSize = 0;
    switch (IncludeCommandOf(Command)) {
    case TIncludeCommand::Date:
        DateTimeBuffer() = DateText();
        AnswerWith(DateTimeBuffer(), Buffer, BuffSize);
        break;
    case TIncludeCommand::Time:
        DateTimeBuffer() = TimeText();
        AnswerWith(DateTimeBuffer(), Buffer, BuffSize);
        break;
    case TIncludeCommand::Include: {
        if (!Params)
            break;
        const QString name = IncludedFileName(*Params);
        if (name.isEmpty())
            break;
        if (!IncludeStream)
            IncludeStream = std::make_unique<QByteArray>();
        if (ReadIncludedFile(name, *IncludeStream))
            AnswerWith(*IncludeStream, Buffer, BuffSize);
        else
            IncludeStream->clear();
        break;
    }
    case TIncludeCommand::Other:
        break;
    }
}

void TForm_Html::htmlViewerMetaRefresh(QObject*, int Delay, const std::string& URL)
{
    const std::optional<int> interval = RefreshIntervalMs(Delay);
    if (!interval)
        return;
    // Relative targets are taken from the current folder, not the page's.
    RefreshTarget = Win1252ToQString(UrlToPath(URL));
    if (!FileSystem().FileExists(RefreshTarget))
        return;
    RefreshOrigin = htmlViewer->ShownFile();
    MetaTimer->setInterval(*interval);
    MetaTimer->start();
}

void TForm_Html::MetaTimerTimer()
{
    MetaTimer->stop();
    // The learner may have moved on meanwhile: then nothing happens.
    if (htmlViewer->ShownFile() == RefreshOrigin)
        htmlViewer->LoadHtmlFile(RefreshTarget);
}

void TForm_Html::FilesDropped(const QStringList& fileNames)
{
    if (fileNames.isEmpty() || fileNames.front().isEmpty())
        return;
    const QString name = fileNames.front();
    const QString extension = ExtractFileExt(name).toLower();
    if (extension == QLatin1String(".htm") || extension == QLatin1String(".html"))
        htmlViewer->LoadHtmlFile(name);
    else if (extension == QLatin1String(".txt"))
        htmlViewer->LoadTextFile(name);
    else if (IsImageExtension(extension))
        htmlViewer->LoadImageFile(name);
}

void TForm_Html::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm_Html::dropEvent(QDropEvent* event)
{
    QStringList names;
    for (const QUrl& url : event->mimeData()->urls())
        names.append(url.toLocalFile());
    event->acceptProposedAction();
    ReportFailures([&]() { FilesDropped(names); });
}
