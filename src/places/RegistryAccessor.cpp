#include "places/RegistryAccessor.h"

namespace quenmar {

std::string FailedToSetData(const std::string& name) { return "Failed to set data for '" + name + "'"; }
std::string FailedToGetData(const std::string& name) { return "Failed to get data for '" + name + "'"; }
std::string InvalidDataType(const std::string& name) { return "Invalid data type for '" + name + "'"; }

}  // namespace quenmar
