#pragma once

#include <QStringList>

// While alive, collects what libxml2 and libxslt report instead of letting them print
// to stderr. Their error handlers are process-wide, so the capture is scoped to one
// operation and restores the previous handlers when it ends.
class XmlErrorCapture {
public:
    XmlErrorCapture();
    ~XmlErrorCapture();
    XmlErrorCapture(const XmlErrorCapture&) = delete;
    XmlErrorCapture& operator=(const XmlErrorCapture&) = delete;

    int count() const { return static_cast<int>(messages_.size()); }
    QString firstMessage() const { return messages_.isEmpty() ? QString() : messages_.first(); }
    const QStringList& messages() const { return messages_; }

    void add(const QString& message);

private:
    XmlErrorCapture* previous_;
    QStringList messages_;
};
