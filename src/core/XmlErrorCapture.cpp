#include "core/XmlErrorCapture.h"

#include <libxml/xmlerror.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>

namespace {

// The capture of the operation running on this thread, if any.
XmlErrorCapture*& active()
{
    thread_local XmlErrorCapture* capture = nullptr;
    return capture;
}

void structuredHandler(void*, xmlErrorPtr error)
{
    if (!active() || !error || !error->message)
        return;
    const QString message = QString::fromUtf8(error->message).trimmed();
    active()->add(message);
    if (error->level >= XML_ERR_ERROR)
        active()->addError({error->code, error->line, error->int2, message});
}

void genericHandler(void*, const char* format, ...)
{
    if (!active())
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    const QString text = QString::fromUtf8(buffer).trimmed();
    if (!text.isEmpty())
        active()->add(text);
}

} // namespace

XmlErrorCapture::XmlErrorCapture()
    : previous_(active())
{
    active() = this;
    xmlSetStructuredErrorFunc(nullptr, structuredHandler);
    xmlSetGenericErrorFunc(nullptr, genericHandler);
    xsltSetGenericErrorFunc(nullptr, genericHandler);
}

XmlErrorCapture::~XmlErrorCapture()
{
    active() = previous_;
    // Handlers stay installed: with no capture active they drop what they get, which
    // keeps libxml2 from writing to stderr between operations.
}

void XmlErrorCapture::add(const QString& message)
{
    messages_ << message;
}

void XmlErrorCapture::addError(const Detail& error)
{
    if (firstError_.code == 0)
        firstError_ = error;
    if (firstPlaced_.code == 0 && error.line > 0)
        firstPlaced_ = error;
}
