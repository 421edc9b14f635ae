#include "ui/QtUserInterface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace ui {

namespace {

bool showBox(QWidget* parent, const QString& text, bool withCancel, const QString& okText = QStringLiteral("确定"),
             const QString& cancelText = QStringLiteral("取消"))
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(okText, QMessageBox::AcceptRole);
    QPushButton* cancel = withCancel ? box.addButton(cancelText, QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel ? static_cast<QAbstractButton*>(cancel) : ok);
    box.exec();
    return box.clickedButton() == ok;
}

QString startPath(const FileDialogRequest& request)
{
    if (request.proposedName.isEmpty())
        return request.initialFolder;
    if (QFileInfo(request.proposedName).isAbsolute())
        return request.proposedName;
    return QDir(request.initialFolder).filePath(request.proposedName);
}

} // namespace

void QtUserInterface::message(QWidget* parent, const QString& text)
{
    showBox(parent, text, false);
}

bool QtUserInterface::question(QWidget* parent, const QString& text)
{
    return showBox(parent, text, true);
}

bool QtUserInterface::choose(QWidget* parent, const QString& text, const QString& first, const QString& second)
{
    return showBox(parent, text, true, first, second);
}

std::optional<QString> QtUserInterface::openFileName(QWidget* parent, const FileDialogRequest& request)
{
    const QString name = QFileDialog::getOpenFileName(parent, request.title, startPath(request),
                                                      toQtFilter(request.filter), nullptr,
                                                      QFileDialog::ReadOnly);
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

std::optional<QString> QtUserInterface::saveFileName(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog::Options options;
    if (!request.confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    const QString name = QFileDialog::getSaveFileName(parent, request.title, startPath(request),
                                                      toQtFilter(request.filter), nullptr, options);
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

std::optional<QString> QtUserInterface::directoryName(QWidget* parent, const FileDialogRequest& request)
{
    const QString name = QFileDialog::getExistingDirectory(parent, request.title, request.initialFolder);
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

std::optional<QStringList> QtUserInterface::openFileNames(QWidget* parent, const FileDialogRequest& request)
{
    QStringList names = QFileDialog::getOpenFileNames(parent, request.title, startPath(request),
                                                      toQtFilter(request.filter), nullptr, QFileDialog::ReadOnly);
    if (names.isEmpty())
        return std::nullopt;
    for (QString& name : names)
        name = QDir::toNativeSeparators(name);
    return names;
}

void QtUserInterface::runModal(QDialog* dialog)
{
    dialog->exec();
}

bool QtUserInterface::openInBrowser(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace ui
