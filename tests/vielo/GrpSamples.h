#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vielo/GrpFile.h"

// Plot files for the viewer's tests, encoded byte by byte independently of
// the reader.

void PutInt32(std::vector<unsigned char>& out, std::int32_t v);
void PutFloat(std::vector<unsigned char>& out, float v);
std::vector<unsigned char> EncodeGrp(const GrpData& data);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// A run as the engine writes it: T = 2 s, GS = 0.005 s, 401 samples of a
// unit step set-point at 0.1 s, the step response of a second-order loop
// (natural frequency 12 rad/s, damping 0.25) and a damped 3 Hz oscillation.
GrpData ControlRun();
// `inputs` columns of `samples` samples at GS = 0.01: input i holds
// (i + 1) * sin(2 pi t) + i.
GrpData SineRun(int inputs, int samples);
