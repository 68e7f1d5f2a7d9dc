// The per-block audio routine: silence sleep, then either the amp (mono sum, gate, drive,
// cabinet voicing, tone section, volume, impulse-response mix) or, while the tuner is on,
// a pass-through that feeds the tuner. The amp wakes at the first sample of either input
// that is not exactly zero and sleeps (writing zeros, running nothing) once the input has
// been silent and the output inaudible for a few fixed chunks of 64 frames; the chunks run
// across host blocks, so the host's block size does not change the result. The amp takes a
// non-finite input sample as zero; the tuner's pass-through copies it. Reads only coefficients and gains designed
// beforehand; no allocation, no locking, no I/O (the convolver allocates nothing while
// blocks stay within its reserved size).
#pragma once

class PartitionedConvolver;
struct Engine;

// inputs and outputs: left and right channels of `frames` samples each. Outputs may be the
// inputs (in-place processing). Both outputs receive the same mono signal, except on the
// tuner path, which copies each input channel to its output.
void ProcessChain(Engine& engine, PartitionedConvolver& convolver, const double* const* inputs,
                  double* const* outputs, int frames);

// The noise gate: envelope follower 0 against the threshold opens ADSR 0.
double GateSample(Engine& engine, double x);
// The cabinet voicing: biquad slots 0 to length - 1 in series, then the cascade gain.
double RunCascade(Engine& engine, double x);
