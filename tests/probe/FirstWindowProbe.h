#pragma once

#include <QObject>

// A developer's probe for start-up measurements and smoke tests: when the environment
// variable VANTREL_PROBE_FIRST_WINDOW is set, it writes one line to stderr the moment the
// first top-level window is exposed ("vantrel-first-window: <title>"); when it is set to
// "exit", the process ends once that window has been painted for the first time (what a
// user sees as the window having appeared). Without the variable it does nothing.
class FirstWindowProbe : public QObject {
    Q_OBJECT
public:
    // Installs the probe on the application when the variable is set.
    static void installIfRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FirstWindowProbe(bool exitWhenShown);
    bool exitWhenShown_;
    bool reported_ = false;
    bool exiting_ = false;
};
