#pragma once
// A protocol header reaching into the Qt shell: the layering check must
// refuse it.
#include "protocol/frame_codec.h"
#include "ui/control_binder.h"
