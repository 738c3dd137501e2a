// Reads the patch script "Setup.ini" the way the runtime will (through the
// platform's profile functions, numbers read leniently) and reports every
// mistake that would make the patch fail or act other than its author meant,
// naming the section and key.
#pragma once
#include "check/PayloadFiles.h"
#include "check/neutral/Findings.h"

// Checks the script among `payload`, the payloads its entries need and the
// side images; everything found goes to `findings`.
void CheckScript(const PayloadFiles& payload, Findings& findings);
