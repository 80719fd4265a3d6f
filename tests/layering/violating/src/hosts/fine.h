#pragma once
// Allowed: the page framework on the protocol.
#include "protocol/command_entry.h"
