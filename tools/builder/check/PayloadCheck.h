// Checks of payload files whose form the runtime relies on: byte-pattern
// patches and the side images.
#pragma once
#include <string>

#include "check/neutral/Findings.h"

// An XOR delta has no structure of its own: any bytes are a delta. A payload
// that is in fact a whole binary delta is refused, since XOR-ing it into the
// installed file would make a wrong file.
void CheckXorDeltaPayload(const std::string& payload, const std::string& where, Findings& findings);

// A binary delta: its mark, and stream sizes that add up to the payload.
void CheckBinaryDeltaPayload(const std::string& payload, const std::string& where, Findings& findings);

// A byte-pattern payload: its header, every record inside the payload, no
// empty pattern, a write-at-offset pattern of at least the 4 offset bytes.
void CheckBytePatchPayload(const std::string& payload, const std::string& where, Findings& findings);

// A side image the wizard draws: an uncompressed Windows bitmap that fits
// inside its file. Problems are warnings: the runtime falls back or draws
// nothing.
void CheckSideImage(const std::string* image, const std::string& name, const std::string& origin,
                    const std::string& role, Findings& findings);
