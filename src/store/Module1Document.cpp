// Document access for the windows: core's calls, with the failure text in LastErrorText.
#include "store/Module1.h"

namespace Module1 {
using namespace xml;

QString LastErrorText;

QString GetLastErrorText()
{
    return LastErrorText;
}

XmlDocumentPtr LoadXmlDocument(const QString& fileName)
{
    return ReadXmlDocument(fileName, LastErrorText);
}

XmlDocumentPtr ParseXmlText(const QByteArray& text, const QString& nameForMessages)
{
    return ParseXmlBytes(text, nameForMessages, LastErrorText);
}

bool SaveXmlDocument(const XmlDocumentPtr& document, const QString& fileName)
{
    return WriteXmlDocument(document, fileName, LastErrorText);
}

} // namespace Module1
