#pragma once
// The benchmark building on the Qt shell.
#include "common/poll_operator.h"
#include "ui/form_main.h"
