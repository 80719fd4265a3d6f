#pragma once

namespace tarnwick {

class DataModule;

// Gives the data module the real implementations of the ports the features
// bring (the FTP client of the firmware upgrade).
void AttachStandardPorts(DataModule& tdm);

}  // namespace tarnwick
