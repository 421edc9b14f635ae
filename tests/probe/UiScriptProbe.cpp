#include "UiScriptProbe.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

void report(const QByteArray& line)
{
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

} // namespace

UiScriptProbe::UiScriptProbe(const QStringList& steps)
    : QObject(QCoreApplication::instance())
    , steps_(steps)
    , poll_(new QTimer(this))
{
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, &UiScriptProbe::runNextStepWhenReady);
    poll_->start();
}

void UiScriptProbe::installIfRequested()
{
    const QString script = qEnvironmentVariable("VANTREL_PROBE_SCRIPT");
    if (script.isEmpty() || !QCoreApplication::instance())
        return;
    auto* probe = new UiScriptProbe(script.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    QCoreApplication::instance()->installEventFilter(probe);
}

bool UiScriptProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            report("vantrel-message: " + box->text().toUtf8());
    }
    return QObject::eventFilter(watched, event);
}

QWidget* UiScriptProbe::visibleWindow(const QString& name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->isVisible())
            continue;
        const bool isMessage = qobject_cast<QMessageBox*>(window) != nullptr;
        if (name == QLatin1String("message") ? isMessage : window->objectName() == name)
            return window;
    }
    return nullptr;
}

void UiScriptProbe::runNextStepWhenReady()
{
    // Done two ticks after the last action: a click that ends a modal dialog returns to the
    // command that opened it, which runs on before the event loop can tick again.
    if (steps_.isEmpty() && (pendingActions_ > 0 || ++quietTicks_ < 2))
        return;
    if (steps_.isEmpty()) {
        poll_->stop();
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (window->isVisible())
                report("vantrel-window: " + window->windowTitle().toUtf8());
        }
        report("vantrel-probe: done");
        return;
    }
    const QString step = steps_.first().trimmed();
    const qsizetype slash = step.indexOf(QLatin1Char('/'));
    const QString windowName = slash < 0 ? step : step.left(slash);
    QWidget* window = visibleWindow(windowName);
    if (!window)
        return;
    steps_.removeFirst();
    QString child = slash < 0 ? QString() : step.mid(slash + 1);
    const qsizetype equals = child.indexOf(QLatin1Char('='));
    const QString text = equals < 0 ? QString() : child.mid(equals + 1);
    if (equals >= 0)
        child.truncate(equals);
    // A click may open a modal dialog; run it from the event loop, not inside this timer's
    // slot, or the timer would not fire again until the dialog closed.
    ++pendingActions_;
    QTimer::singleShot(0, this, [this, window = QPointer<QWidget>(window), child, text, setText = equals >= 0] {
        if (window)
            perform(window, child, text, setText);
        --pendingActions_;
        quietTicks_ = 0;
    });
}

void UiScriptProbe::perform(QWidget* window, const QString& child, const QString& text, bool setText)
{
    if (auto* box = qobject_cast<QMessageBox*>(window); box && child.isEmpty()) {
        QAbstractButton* ok = box->defaultButton();
        if (!ok)
            ok = box->buttons().value(0);
        if (ok)
            ok->click();
        return;
    }
    if (setText) {
        if (auto* edit = window->findChild<QLineEdit*>(child)) {
            // Typed, not set: a user's edit is what marks a report modified.
            edit->selectAll();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
            QCoreApplication::sendEvent(edit, &press);
            QCoreApplication::sendEvent(edit, &release);
            return;
        }
    } else if (auto* button = window->findChild<QAbstractButton*>(child)) {
        button->click();
        return;
    } else if (auto* action = window->findChild<QAction*>(child)) {
        action->trigger();
        return;
    }
    report("vantrel-probe: no " + child.toUtf8() + " in " + window->objectName().toUtf8());
}
