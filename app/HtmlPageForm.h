#pragma once
// The tutorial page window: one page at a time in a viewer, with the answers
// to the viewer's events (what a link does, include directives, timed
// redirections), files dropped from the desktop, and two buttons back to the
// tables of contents.

#include "platform/Forms.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

namespace Ui {
class TForm_Html;
}
class QFrame;
class QGroupBox;
class QPushButton;
class QTimer;
class TStringList;
class THtmlPane;

class TForm_Html : public TForm {
    Q_OBJECT
public:
    explicit TForm_Html(QWidget* owner = nullptr);
    ~TForm_Html() override;

    QFrame* Splitter2;
    QGroupBox* GroupBoxHtml;
    THtmlPane* htmlViewer;
    QFrame* HtmlViewerPanel;
    QPushButton* Button_Sommaire;
    QPushButton* Button_SommaireDidacticiel;
    QTimer* MetaTimer;

    // The bytes of the last file an include directive named; null until the
    // first one.
    std::unique_ptr<QByteArray> IncludeStream;
    // The file of the last timed redirection, and the page shown when it was
    // asked for: it happens only if that page is still shown.
    QString RefreshTarget;
    QString RefreshOrigin;
    // Loaded each time the window is shown.
    QString PageFile;
    TForm* ReturnWindow = nullptr;

    void Button_SommaireDidacticielClick();
    void Button_SommaireClick();
    void htmlViewerHotSpotClick(QObject* sender, const std::string& SRC, bool& Handled);
    void htmlViewerHotSpotCovered(QObject* sender, const std::string& SRC);
    void htmlViewerProcessing(QObject* sender, bool ProcessingOn);
    void htmlViewerInclude(
        const QString& Command, std::unique_ptr<TStringList> Params, QByteArray& Buffer, int& BuffSize);
    void htmlViewerMetaRefresh(QObject* sender, int Delay, const std::string& URL);
    void MetaTimerTimer();
    // Files dropped from the desktop: the first one is shown.
    void FilesDropped(const QStringList& fileNames);

protected:
    void FormCreate();
    void FormShow() override;
    void FormClose() override;
    void FormDeactivate() override;
    void FormDestroy();

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BindViewerEvents();
    std::unique_ptr<Ui::TForm_Html> FUi;
};

extern TForm_Html* Form_Html;
