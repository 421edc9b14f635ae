#pragma once

#include "core/XmlDocumentAccess.h"

// Reading files back in tests: the store's hardened load, with the failure text of the last
// call kept for the assertion that follows it.
namespace testdoc {

inline QString& lastError()
{
    static QString text;
    return text;
}

inline QString GetLastErrorText()
{
    return lastError();
}

inline xml::XmlDocumentPtr LoadXmlDocument(const QString& fileName)
{
    return xml::ReadXmlDocument(fileName, lastError());
}

inline xml::XmlDocumentPtr ParseXmlText(const QByteArray& text, const QString& nameForMessages = QString())
{
    return xml::ParseXmlBytes(text, nameForMessages, lastError());
}

inline bool SaveXmlDocument(const xml::XmlDocumentPtr& document, const QString& fileName)
{
    return xml::WriteXmlDocument(document, fileName, lastError());
}

} // namespace testdoc
