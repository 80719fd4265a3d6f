#pragma once
// The FTP port sits with the other ports in storage/, below the page framework
// that holds it.
#include "storage/ftp_port.h"
