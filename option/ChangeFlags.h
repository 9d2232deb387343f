#pragma once
// What an apply asks the monitor to send: the change flags of the edited image,
// found by comparing it with the image the monitor last received.

#include "SettingsImage.h"

// Clears every flag of `edited`, then sets those whose fields differ from
// `exchanged`: profileSwitched, keyDirty per profile and key, and per profile
// standardKeyDirty, lightSwitchDirty, winLockDirty, effectDirty,
// effectColorDirty and customColorDirty.
void computeChangeFlags(SettingsImage& edited, const SettingsImage& exchanged);

// Every flag the download looks at, for a profile that must be sent whole
// (after a reset): its keys, standard keys, effect, effect colour and custom
// colours, and profileSwitched.
void markProfileForFullDownload(SettingsImage& image, int profile);
