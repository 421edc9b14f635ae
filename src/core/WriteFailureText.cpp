#include "core/WriteFailureText.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

constexpr std::pair<int, const char*> kReasons[] = {
    {EACCES, "没有写入权限"},
    {EPERM, "没有写入权限"},
    {EROFS, "磁盘是只读的"},
    {ENOSPC, "磁盘空间不足"},
    {EDQUOT, "磁盘空间不足"},
    {ENOENT, "文件夹不存在"},
    {ENOTDIR, "文件夹不存在"},
    {ENAMETOOLONG, "文件名太长"},
    {EIO, "磁盘读写出错"},
    {EISDIR, "该路径是一个文件夹"},
};

QString systemText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace

QString WriteFailureText(int errorNumber)
{
    for (const auto& [number, chinese] : kReasons) {
        if (number == errorNumber)
            return QString::fromUtf8(chinese);
    }
    return systemText(errorNumber);
}

QString WriteFailureText(const QString& text)
{
    // Qt passes the system's text on unchanged when it has no translation of its own.
    for (const auto& [number, chinese] : kReasons) {
        if (text == systemText(number))
            return QString::fromUtf8(chinese);
    }
    return text;
}
