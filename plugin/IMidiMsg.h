// One short MIDI message as it arrives from the host, with its frame offset in the block.
#pragma once

#include <cstdint>

struct IMidiMsg {
  enum class Type { None, NoteOff, NoteOn, PolyAftertouch, ControlChange, ProgramChange,
                    ChannelAftertouch, PitchWheel };

  int offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;

  // The message type from the status byte's high nibble (8 to 14), else None.
  Type StatusMsg() const {
    const int nibble = status >> 4;
    if (nibble < 8 || nibble > 14) return Type::None;
    return Type(nibble - 7);
  }
};
