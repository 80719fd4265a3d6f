#pragma once
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

// A row of a select, as (column name, text) pairs in column order.
using DbRow = std::vector<std::pair<std::string, std::string>>;

// The database the tool keeps in its working directory: selects and a
// parameterised insert. Failures throw DatabaseError.
class DatabasePort {
  public:
    virtual ~DatabasePort() = default;
    virtual std::vector<DbRow> Select(const std::string& sql) = 0;
    // Named parameters, given with their leading ':' or without.
    virtual void Execute(const std::string& sql,
                         const std::vector<std::pair<std::string, std::string>>& params) = 0;
};

class DatabaseError : public std::runtime_error {
  public:
    explicit DatabaseError(const std::string& what) : std::runtime_error(what) {}
};

// Local date and time of the PC.
class ClockPort {
  public:
    virtual ~ClockPort() = default;
    // "yyyy-mm-dd hh:nn:ss"
    virtual std::string NowText() = 0;
};

class SystemClock : public ClockPort {
  public:
    std::string NowText() override;
};

}  // namespace tarnwick
