#pragma once
// Alone each include is allowed; with operation/uses_the_modules.h they form
// a cycle between two feature folders.
#include "operation/host_status.h"
