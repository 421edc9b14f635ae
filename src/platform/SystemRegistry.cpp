#include "platform/SystemRegistry.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace platform {

Registry& Registry::system()
{
    static SystemRegistry registry;
    return registry;
}

std::optional<QString> SystemRegistry::valueText(unsigned long type, const QByteArray& data)
{
    if (type == kStringType) {
        // Wide-character data: UTF-16, possibly with its terminating NUL.
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(data.constData()), data.size() / 2);
        if (text.endsWith(QChar(0)))
            text.chop(1);
        return text;
    }
    if (type == kDwordType) {
        QString text = QStringLiteral("&h");
        for (qsizetype i = data.size() - 1; i >= 0; --i)
            text += QString::number(static_cast<unsigned char>(data[i]), 16).toUpper();
        return text;
    }
    return std::nullopt;
}

#ifdef Q_OS_WIN

namespace {
HKEY rootHandle(RegistryRoot root)
{
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}
} // namespace

bool SystemRegistry::GetKeyValue(RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                                 QString& keyVal)
{
    HKEY key = nullptr;
    // Read access only: the program never changes the registry.
    if (RegOpenKeyExW(rootHandle(keyRoot), reinterpret_cast<LPCWSTR>(keyName.utf16()), 0, KEY_READ, &key)
        != ERROR_SUCCESS) {
        keyVal.clear();
        return false;
    }
    QByteArray buffer(1024, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size());
    const LONG status = RegQueryValueExW(key, reinterpret_cast<LPCWSTR>(subKeyRef.utf16()), nullptr, &type,
                                         reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        keyVal.clear();
        return false;
    }
    buffer.truncate(static_cast<qsizetype>(size));
    if (const auto text = valueText(type, buffer))
        keyVal = *text;
    return true;
}

#else

bool SystemRegistry::GetKeyValue(RegistryRoot, const QString&, const QString&, QString& keyVal)
{
    keyVal.clear();
    return false;
}

#endif

} // namespace platform
