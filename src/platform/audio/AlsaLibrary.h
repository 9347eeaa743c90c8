#pragma once
// The sound library's functions the wave output calls, loaded when sound is first asked for.
#include "platform/base/RuntimeLibrary.h"

#include <alsa/asoundlib.h>

#include <string>

#define ORVEX_ALSA_FUNCTIONS(X)                                                                                        \
    X(snd_card_next)                                                                                                   \
    X(snd_card_get_name)                                                                                               \
    X(snd_pcm_open)                                                                                                    \
    X(snd_pcm_close)                                                                                                   \
    X(snd_pcm_drop)                                                                                                    \
    X(snd_pcm_prepare)                                                                                                 \
    X(snd_pcm_recover)                                                                                                 \
    X(snd_pcm_set_params)                                                                                              \
    X(snd_pcm_writei)

class CAlsaLibrary
{
public:
    // The functions, or null (error saying why) where the library cannot be loaded.
    static const CAlsaLibrary* Get(std::string* error = nullptr);

    ORVEX_ALSA_FUNCTIONS(ORVEX_RUNTIME_FUNCTION)
    bool Resolve(CRuntimeLibrary& library) { return true ORVEX_ALSA_FUNCTIONS(ORVEX_RESOLVE_RUNTIME_FUNCTION); }
};
