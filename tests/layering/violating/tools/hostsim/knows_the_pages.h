#pragma once
// The simulated host knowing the tool's pages instead of the protocol.
#include "protocol/frame_codec.h"
#include "hosts/page_model.h"
