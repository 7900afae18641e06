// The help topics of the windows: each window's Help button and F1 open the
// topic of its keyword in the help file kalvora.hlp beside the program.
#pragma once

inline constexpr const char* kHelpKeywords[] = {
    "otherwindows_macrorecording",   "otherwindows_resetvoice",
    "otherwindows_copyvoice",        "preseteditwindows_addsynthesis",
    "preseteditwindows_free",        "preseteditwindows_manager",
    "volumeenvelopeeditwindows_manager", "volumeenvelopeeditwindows_adsr",
    "volumeenvelopeeditwindows_free", "otherwindows_loadaninstrument",
    "otherwindows_options",          "otherwindows_macromanager",
    "otherwindows_statistics",       "voiceparameters_overview",
    "voiceparameters_general",       "voiceparameters_source",
    "voiceparameters_volume",        "voiceparameters_vibrato",
    "voiceparameters_lowpass",
};
