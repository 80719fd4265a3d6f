#pragma once
#include <string>

namespace tarnwick {

// Who works and where: written on every row of the operation log and of
// the backup archive, so that a team database tells whose work a row is.
struct Workplace {
    std::string operatorName;  // the account's user name, or what --operator gave
    std::string workstation;   // the computer's host name
};

// The user name of this process's account (the password database, else
// $USER or $LOGNAME) and the computer's host name.
Workplace ThisWorkplace();

}  // namespace tarnwick
