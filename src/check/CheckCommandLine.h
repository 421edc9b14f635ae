#pragma once

#include "check/CheckOptions.h"

// The terminal side of vantrel-check: reading the command line, the Chinese help, and a
// batch run that prints findings and writes the workbook and CSV files.
class CheckCommandLine {
public:
    enum ExitStatus { AllPassed = 0, FindingsReported = 1, UsageError = 2 };
    static constexpr int kMaxWorkers = 64; // --jobs beyond this is refused

    static CheckOptions parse(const QStringList& arguments); // without the program's name
    static QString helpText();
    // Whether a window can be shown (an X or Wayland display, or a Qt platform named).
    static bool hasDisplay();
    // Runs the check the options describe; returns the exit status.
    static int run(const CheckOptions& options);

    // The input that writing to output would replace, or empty when it replaces none.
    static QString overwrittenInput(const QString& output, const QStringList& inputs);
    // The files the options would write.
    static QStringList outputFiles(const CheckOptions& options);
};
