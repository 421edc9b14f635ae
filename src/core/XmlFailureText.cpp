#include "core/XmlFailureText.h"

#include <libxml/xmlerror.h>

#include <algorithm>

namespace xml {

namespace {

QString encodingNotHeld(const QString& declared)
{
    if (declared.isEmpty())
        return QStringLiteral("文件没有声明编码，内容却不是 UTF-8（其他编码须在 XML 声明中写明）");
    return QStringLiteral("内容与文件声明的编码 %1 不符").arg(declared);
}

QString causeOf(const XmlParseError& error)
{
    const QString& message = error.firstMessage;
    switch (error.firstCode) {
    case XML_ERR_TAG_NOT_FINISHED:
        return QStringLiteral("标签没有结束，文件可能不完整");
    case XML_ERR_TAG_NAME_MISMATCH:
        return QStringLiteral("结束标签与开始标签不一致");
    case XML_ERR_LTSLASH_REQUIRED:
        return QStringLiteral("缺少结束标签");
    case XML_ERR_GT_REQUIRED:
        return QStringLiteral("标签缺少“>”");
    case XML_ERR_DOCUMENT_END:
    case XML_ERR_EXTRA_CONTENT:
        return QStringLiteral("根元素结束后还有多余的内容");
    case XML_ERR_DOCUMENT_EMPTY:
        return message.startsWith(QLatin1String("Document is empty")) ? QStringLiteral("文件是空的")
                                                                       : QStringLiteral("文件开头不是 XML 元素");
    case XML_ERR_DOCUMENT_START:
        return QStringLiteral("文件开头不是 XML 元素");
    case XML_ERR_INVALID_CHAR:
        // libxml2 reports bytes that are no UTF-8 under the same code as a control character.
        if (message.contains(QLatin1String("not proper UTF-8")))
            return encodingNotHeld(error.declaredEncoding);
        return QStringLiteral("含有 XML 不允许的字符");
    case XML_ERR_INVALID_HEX_CHARREF:
    case XML_ERR_INVALID_DEC_CHARREF:
    case XML_ERR_INVALID_CHARREF:
        return QStringLiteral("字符引用（&#…;）无效");
    case XML_ERR_LT_IN_ATTRIBUTE:
    case XML_ERR_ATTRIBUTE_NOT_STARTED:
    case XML_ERR_ATTRIBUTE_NOT_FINISHED:
    case XML_ERR_ATTRIBUTE_WITHOUT_VALUE:
        return QStringLiteral("属性的写法不正确（属性值须在引号中，其中不能有“<”）");
    case XML_ERR_ATTRIBUTE_REDEFINED:
        return QStringLiteral("同一个属性出现了两次");
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY:
        return QStringLiteral("引用了未定义的实体");
    case XML_ERR_ENTITYREF_NO_NAME:
    case XML_ERR_ENTITYREF_SEMICOL_MISSING:
        return QStringLiteral("“&”后面不是实体引用（文字中的“&”应写作“&amp;”）");
    case XML_ERR_NAME_REQUIRED:
        if (message.startsWith(QLatin1String("xmlParseEntityRef")))
            return QStringLiteral("“&”后面不是实体引用（文字中的“&”应写作“&amp;”）");
        return QStringLiteral("元素或属性的名称无效");
    case XML_ERR_UNKNOWN_ENCODING:
    case XML_ERR_UNSUPPORTED_ENCODING:
        return QStringLiteral("文件声明的编码 %1 无法识别").arg(error.declaredEncoding);
    case XML_ERR_INVALID_ENCODING:
    case XML_I18N_CONV_FAILED:
        return encodingNotHeld(error.declaredEncoding);
    case XML_ERR_COMMENT_NOT_FINISHED:
    case XML_ERR_HYPHEN_IN_COMMENT:
        return QStringLiteral("注释的写法不正确");
    case XML_ERR_CDATA_NOT_FINISHED:
        return QStringLiteral("CDATA 段没有结束");
    case XML_ERR_XMLDECL_NOT_STARTED:
    case XML_ERR_XMLDECL_NOT_FINISHED:
    case XML_ERR_PI_NOT_STARTED:
    case XML_ERR_PI_NOT_FINISHED:
    case XML_ERR_VERSION_MISSING:
        return QStringLiteral("XML 声明或处理指令的写法不正确");
    case XML_ERR_NO_MEMORY:
        return QStringLiteral("内存不足");
    default:
        if (error.firstCode == XML_NS_ERR_UNDEFINED_NAMESPACE)
            return QStringLiteral("使用了未声明的命名空间前缀");
        if (error.firstCode >= XML_NS_ERR_XML_NAMESPACE && error.firstCode <= XML_NS_ERR_COLON)
            return QStringLiteral("命名空间的写法不正确");
        return QStringLiteral("不是格式正确的 XML");
    }
}

} // namespace

QString FailureText(const XmlParseError& error)
{
    switch (error.refusal) {
    case XmlParseError::Refusal::Doctype:
        return QStringLiteral("文件含有文档类型声明（DOCTYPE），为安全起见不予读取");
    case XmlParseError::Refusal::TooLarge:
        return QStringLiteral("文件超过 64 MiB，不予读取");
    case XmlParseError::Refusal::None:
        break;
    }
    if (error.code == 0)
        return {};
    // Not parsed at all: the file could not be read.
    if (error.firstCode == 0)
        return QStringLiteral("无法读取文件（%1）").arg(error.reason);
    QString text;
    if (error.line > 0)
        text = QStringLiteral("第 %1 行第 %2 列：").arg(error.line).arg(std::max(error.column, 1));
    text += causeOf(error);
    // libxml2's text runs over lines ("…indicate encoding !\nBytes: 0xB2…").
    const QString original = error.firstMessage.simplified();
    if (!original.isEmpty())
        text += QStringLiteral("（") + original + QStringLiteral("）");
    return text;
}

} // namespace xml
