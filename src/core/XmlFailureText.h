#pragma once

#include "core/XmlDocument.h"

#include <QString>

namespace xml {

// Why a document did not load, in Chinese, for a clerk who must mend or resend it:
// "第 3 行第 80 列：标签没有结束，文件可能不完整（Premature end of data in tag Report line 1）"
// for a syntax error (libxml2's own text in brackets), or the refusal of a DOCTYPE, of a file
// above the size limit, of content that does not match its declared encoding. Empty when
// the document loaded.
QString FailureText(const XmlParseError& error);

} // namespace xml
