#pragma once

#include <QString>

namespace ui {

// What a file dialog is asked to show. The filter uses the "label|pattern|label|pattern"
// form the program's texts are written in; the seam turns it into Qt's form.
struct FileDialogRequest {
    QString title;
    QString filter;
    QString initialFolder;
    QString proposedName;       // full path or bare name; may be empty
    bool confirmOverwrite = true; // save dialogs only
};

// "报告文件 (*.xm)|*.xm|所有文件(*.*)|*.*" -> "报告文件 (*.xm);;所有文件(*.*)"
QString toQtFilter(const QString& pipeFilter);

} // namespace ui
