#pragma once

#include <QObject>
#include <QStringList>

class QTimer;
class QWidget;

// A developer's probe that drives the real program from the environment, for tests of the
// installed program. VANTREL_PROBE_SCRIPT holds steps separated by ";", run in order, each
// waiting until its window is visible:
//   message                  presses OK in the next message box
//   <window>/<child>=<text>  types the text into a line edit of the named window
//   <window>/<child>         clicks a button or triggers a menu action
// Every message box shown is written to stderr ("vantrel-message: <text>"); once the last
// step has run, the caption of every visible window ("vantrel-window: <caption>") and
// "vantrel-probe: done". Without the variable it does nothing.
class UiScriptProbe : public QObject {
    Q_OBJECT
public:
    static void installIfRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit UiScriptProbe(const QStringList& steps);
    void runNextStepWhenReady();
    static QWidget* visibleWindow(const QString& name);
    static void perform(QWidget* window, const QString& child, const QString& text, bool setText);

    QStringList steps_;
    QTimer* poll_;
    int pendingActions_ = 0;
    int quietTicks_ = 0;
};
