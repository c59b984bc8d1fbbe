#include "result_opener.h"

#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>

#include "export/export_result.h"

namespace quib {

QString cannotOpenMessage(const QString& path) {
    return QStringLiteral("Nessun programma ha potuto aprire il file:\n%1").arg(path);
}

void openWithDesktop(const QString& path, bool start, const std::function<void(const QString&)>& report,
                     const QString& opener) {
    if (!QFileInfo::exists(path)) {
        report(cannotOpenMessage(path));
        return;
    }
    if (start) {
        if (!QProcess::startDetached(path, {}, QFileInfo(path).absolutePath()))
            report(cannotOpenMessage(path));
        return;
    }
    // The opener exits with an error when no program takes the file; it may also stay while the
    // program runs, so the answer is awaited without blocking and the process outlives no one.
    auto* process = new QProcess;
    QObject::connect(process, &QProcess::finished, process,
                     [process, path, report](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             report(cannotOpenMessage(path));
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, path, report](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         report(cannotOpenMessage(path));
                         process->deleteLater();
                     });
    process->start(opener, {path});
}

void announceWrittenOutput(const ExportResult& result, bool start, QWidget* parent,
                           const std::function<void(const QString&)>& report) {
    const QString written = QString::fromStdString(result.pagePath.empty() ? result.path : result.pagePath);
    QString text = QStringLiteral("Scritto %1").arg(written);
    if (result.bytes > 0)
        text += QStringLiteral(" (%1)").arg(QLocale().formattedDataSize(qint64(result.bytes)));
    QWidget* window = parent ? parent->window() : nullptr;
    if (auto* main = qobject_cast<QMainWindow*>(window))
        main->statusBar()->showMessage(text, 15000);

    auto* box =
        new QMessageBox(QMessageBox::Information, QStringLiteral("Quib"), text, QMessageBox::Close, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    QPushButton* open = box->addButton(QStringLiteral("Apri"), QMessageBox::ActionRole);
    QPushButton* folder = box->addButton(QStringLiteral("Apri cartella"), QMessageBox::ActionRole);
    QObject::connect(box, &QMessageBox::buttonClicked, box, [=](QAbstractButton* button) {
        if (button == open)
            openWithDesktop(written, start, report);
        else if (button == folder)
            openWithDesktop(QFileInfo(written).absolutePath(), false, report);
    });
    box->show();
}

}  // namespace quib
