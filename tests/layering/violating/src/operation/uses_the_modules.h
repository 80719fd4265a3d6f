#pragma once
// Allowed alone: operation on the module settings.
#include "modules/module_fields.h"
