// The plug-in's parameter declarations and their value texts.
#pragma once

class IEffectBase;

// Declares every parameter of the amp, in the order the plug-in has always declared them.
void DeclareParameters(IEffectBase& plug);

// Display names of the drive/amp models and the cabinet voicings, by value.
extern const char* const kModelNames[16];
extern const char* const kCabinetNames[39];
