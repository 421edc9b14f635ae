#include "core/TextLengthLimit.h"

#include "core/XmlDocumentAccess.h"

bool TextLengthLimit::fits(const QString& value)
{
    // Cheap bound first: a UTF-16 unit never takes more than three UTF-8 bytes.
    if (value.size() * 3 <= kMaxBytes)
        return true;
    return xml::TrimSpaces(value).toUtf8().size() <= kMaxBytes;
}

QString TextLengthLimit::refusal(const QString& caption)
{
    return QStringLiteral("“%1”的内容超过%2字节的上限，无法保存，请删减后再保存").arg(caption).arg(kMaxBytes);
}
