#include "places/RegistryAccessor.h"

#include "places/Texts.h"

namespace quenmar {

std::string FailedToSetData(const std::string& name) { return TextOf(IDS_FAILED_TO_SET_DATA, {name}); }
std::string KeyNotOpened(const std::string& path) { return TextOf(IDS_KEY_NOT_OPENED, {path}); }
std::string KeyNotDeleted(const std::string& path) { return TextOf(IDS_KEY_NOT_DELETED, {path}); }

std::string RegistryAccessor::StatusText(RegStatus status) const { return "Error " + std::to_string(status); }

}  // namespace quenmar
