#pragma once
// Allowed: a shared piece of the programs on the core's ports.
#include "protocol/operator_port.h"
