// What a new document and a newly used channel hold for each model.
#pragma once

#include "codeplug/codeplug.h"

namespace qx {

// The values a channel of `model` starts with: no name, the model's step and
// frequency, every switch off, wide, no tones, no option signal. Not in
// use, not blank, no signal codes. A model outside the table gives 0 Hz.
Channel DefaultChannel(int model);

// A new document: channel 0 in use with the defaults (where the model gives
// it any), every other channel and PL/PH not in use and blank, the call
// channel and VFO with the defaults, and the default options, auto dialer
// and signalling record.
Codeplug NewCodeplug(int model);

// Switches a row on: a blank row takes the model's defaults (its signal
// codes stay). Rows that are already in use are left alone.
void PutInUse(Channel& channel, int model);

}  // namespace qx
