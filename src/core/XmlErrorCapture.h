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

    // What libxml2's structured report says of one error.
    struct Detail {
        int code = 0;
        int line = 0;
        int column = 0;
        QString message;
    };

    int count() const { return static_cast<int>(messages_.size()); }
    QString firstMessage() const { return messages_.isEmpty() ? QString() : messages_.first(); }
    const QStringList& messages() const { return messages_; }

    // The first error (warnings aside), and the first error that has a position: an
    // encoding failure is reported without one, the parser's error it causes with one.
    const Detail& firstError() const { return firstError_; }
    const Detail& firstPlacedError() const { return firstPlaced_; }

    void add(const QString& message);
    void addError(const Detail& error);

private:
    XmlErrorCapture* previous_;
    QStringList messages_;
    Detail firstError_;
    Detail firstPlaced_;
};
