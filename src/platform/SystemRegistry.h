#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <optional>

namespace platform {

// The machine's registry, opened for reading only. On systems without a registry every
// read reports "not found".
class SystemRegistry : public Registry {
public:
    // Registry value types the program understands.
    static constexpr unsigned long kStringType = 1;  // REG_SZ
    static constexpr unsigned long kDwordType = 4;   // REG_DWORD

    bool GetKeyValue(RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                     QString& keyVal) override;

    // Turns raw value data into the text handed back: a string without its terminating
    // NUL, a 32-bit number as "&h" and its bytes in hex from the last to the first (each
    // without a leading zero); nothing for any other type (the caller keeps its text).
    static std::optional<QString> valueText(unsigned long type, const QByteArray& data);
};

} // namespace platform
