#pragma once
// A feature reaching into the assembly above it.
#include <app/page_table.h>
