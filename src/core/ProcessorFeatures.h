// What the processor offers that the runtime may use only once the system
// has said it supports it.
#pragma once

// Lets the CRC use the processor's vector unit when the system saves the
// vector registers across task switches. Asked through
// IsProcessorFeaturePresent, looked up at run time: systems without it (the
// early Windows 95 family) never had the registers saved, and keep the
// plain CRC.
void AllowFastCrcWhereSafe();
