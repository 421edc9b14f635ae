#include "FirstWindowProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

FirstWindowProbe::FirstWindowProbe(bool exitWhenShown)
    : QObject(QCoreApplication::instance())
    , exitWhenShown_(exitWhenShown)
{
}

void FirstWindowProbe::installIfRequested()
{
    const QByteArray mode = qgetenv("VANTREL_PROBE_FIRST_WINDOW");
    if (mode.isEmpty() || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(new FirstWindowProbe(mode == "exit"));
}

bool FirstWindowProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (!reported_ && event->type() == QEvent::Expose) {
        auto* window = qobject_cast<QWindow*>(watched);
        if (window && window->isExposed() && window->isTopLevel()) {
            reported_ = true;
            std::fprintf(stderr, "vantrel-first-window: %s\n", window->title().toUtf8().constData());
            std::fflush(stderr);
        }
    }
    // Ends once the first window's first picture is complete: the paint event and what the
    // window's widgets draw with it, before anything queued after it.
    if (exitWhenShown_ && !exiting_ && event->type() == QEvent::Paint) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow()) {
            exiting_ = true;
            QMetaObject::invokeMethod(this, [] { std::_Exit(0); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}
