#pragma once

#include <QString>

namespace platform {

// The root keys the program reads from.
enum class RegistryRoot { LocalMachine, CurrentUser };

// Reads single values from the system registry. Only reading is ever needed, so an
// implementation never asks for more than read access.
class Registry {
public:
    virtual ~Registry() = default;

    // Reads the value subKeyRef of the key keyName under keyRoot into keyVal. False, with
    // keyVal emptied, when the key or the value cannot be read.
    virtual bool GetKeyValue(RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                             QString& keyVal) = 0;

    // The registry of this machine (on systems without one, every value is "not found").
    static Registry& system();
};

} // namespace platform
