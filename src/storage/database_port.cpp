#include "storage/database_port.h"

#include "protocol/name_value_list.h"

namespace tarnwick {

std::string DbColumn(const DbRow& row, const std::string& name) {
    for (const auto& [column, value] : row)
        if (SameName(column, name)) return value;
    return {};
}

}  // namespace tarnwick
