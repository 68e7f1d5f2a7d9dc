// The editor's 50 images: resource number, name (its extension chooses the decoder), size
// and number of frames stacked vertically.
#pragma once

#include <array>

struct EditorBitmapInfo {
  int id;
  const char* name;
  int width;
  int height;
  int frames;
};

constexpr int kFirstEditorBitmapId = 100;
constexpr int kNumEditorBitmaps = 50;
// Each image's twin at twice the size ("img/knob@2x.png") has the number this much higher.
constexpr int kDoubleSizeIdOffset = 200;

constexpr std::array<EditorBitmapInfo, kNumEditorBitmaps> kEditorBitmaps{{
    {100, "img/background.png", 630, 440, 1},
    {101, "img/dst_clean1.png", 448, 424, 1},
    {102, "img/dst_clean2.png", 448, 424, 1},
    {103, "img/dst_clean3.png", 448, 424, 1},
    {104, "img/dst_clean4.png", 448, 424, 1},
    {105, "img/dst_piezoacoustic.png", 448, 424, 1},
    {106, "img/dst_tubecreamer.png", 448, 424, 1},
    {107, "img/dst_fuzzz.png", 448, 424, 1},
    {108, "img/dst_metalcharter.png", 448, 424, 1},
    {109, "img/dst_metalmachine.png", 448, 424, 1},
    {110, "img/dst_metalstyle.png", 448, 424, 1},
    {111, "img/dst_jgm900.png", 448, 424, 1},
    {112, "img/dst_dirtybox.png", 448, 424, 1},
    {113, "img/dst_darktorsion.png", 448, 424, 1},
    {114, "img/dst_bat.png", 448, 424, 1},
    {115, "img/dst_poltergeist.png", 448, 424, 1},
    {116, "img/dst_noisesoldier.png", 448, 424, 1},
    {117, "img/dst_knob_01.png", 50, 3150, 63},
    {118, "img/dst_knob_02.png", 50, 3150, 63},
    {119, "img/dst_knob_05.png", 20, 2520, 63},
    {120, "img/dst_knob_08.png", 30, 1890, 63},
    {121, "img/dst_knob_10.png", 36, 2268, 63},
    {122, "img/dst_knob_11.png", 50, 3150, 63},
    {123, "img/dst_knob_12.png", 50, 3150, 63},
    {124, "img/dst_knob_13.png", 50, 3150, 63},
    {125, "img/dst_knob_15.png", 42, 2646, 63},
    {126, "img/dst_knob_16.png", 50, 3150, 63},
    {127, "img/voltrex_knob_001.png", 39, 2120, 53},
    {128, "img/voltrex_knob_loudness.png", 30, 1950, 65},
    {129, "img/voltrex_button_01.png", 31, 68, 2},
    {130, "img/dst_switch_00.png", 40, 80, 2},
    {131, "img/dst_switch_05.png", 97, 155, 2},
    {132, "img/dst_switch_07.png", 90, 218, 2},
    {133, "img/dst_switch_09.png", 156, 296, 2},
    {134, "img/dst_switch_11.png", 137, 124, 2},
    {135, "img/dst_switch_12.png", 141, 148, 2},
    {136, "img/dst_pgswitch1.png", 30, 60, 2},
    {137, "img/dst_pgswitch2.png", 30, 90, 3},
    {138, "img/voltrex_led_01.png", 14, 28, 2},
    {139, "img/voltrex_param_01.png", 141, 620, 31},
    {140, "img/voltrex_param_02.png", 100, 620, 31},
    {141, "img/voltrex_about.png", 319, 225, 1},
    {142, "img/bg01.png", 430, 327, 1},
    {143, "img/voltrex_fader.png", 10, 25, 1},
    {144, "img/tuner_bg.png", 138, 74, 1},
    {145, "img/tuner_meter.png", 67, 1520, 40},
    {146, "img/tuner_btn.png", 12, 24, 2},
    {147, "img/tuner_notes.png", 60, 4320, 72},
    {148, "img/fopen.png", 81, 16, 1},
    {149, "img/freqres.png", 346, 220, 1},
}};

// The entry of resource id, or null for a number outside 100 to 149.
constexpr const EditorBitmapInfo* FindEditorBitmap(int id) {
  const int index = id - kFirstEditorBitmapId;
  return index >= 0 && index < kNumEditorBitmaps ? &kEditorBitmaps[index] : nullptr;
}
