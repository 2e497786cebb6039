#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>

QString CorpusFolder()
{
    const QString folder = QDir::cleanPath(QStringLiteral(KORVALITH_CORPUS_DIR));
    return QDir(folder).exists() ? folder : QString();
}

void WhenModalAppears(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, clock, action, timeoutMs]() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}
