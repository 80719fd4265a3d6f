#pragma once
// The shipped command-line tool reaching into the benchmark.
#include "../../bench/backup_figure.h"
