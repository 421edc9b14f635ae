#pragma once

#include "store/Settings.h"

#include <QString>
#include <QTemporaryDir>

// A fresh program folder for one test: the installed templates copied in, and settings
// whose program folder it is (nothing else set). Restores nothing: every test makes its own.
class TempProgramFolder {
public:
    explicit TempProgramFolder(bool withTemplates = true);

    // The settings of a program started from this folder, before anything was read.
    Settings settings;

    QString path() const;                          // ends in the folder separator
    QString file(const QString& name) const;       // path() + name
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    // Writes config.pz and a complete unit information file, as after a first start.
    void writeCompleteSettings(const QString& unitCode = QStringLiteral("410101"),
                               const QString& unitName = QStringLiteral("测试博物馆"),
                               const QString& reportUser = QStringLiteral("张三")) const;

    static QString templatesDir();

private:
    QTemporaryDir dir_;
};
