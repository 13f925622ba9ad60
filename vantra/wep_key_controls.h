// The WEP controls that the WEP key dialog and the profile wizard's WEP page
// share: the level list ("Disabled", "64 Bits", "128 Bits"), the passphrase
// from which the WEP key library makes key 1, and the key field, masked by
// level and taking hexadecimal digits only. The form that owns the three
// controls makes them and routes their events here.
#pragma once
#include "toolkit/stdctrls.h"
#include "wep_keys.h"

#include <cstdint>

class TWepKeyControls {
public:
    // Gives the controls their designed properties: the level list's items,
    // the passphrase's length limit, the key's upper case.
    TWepKeyControls(TComboBox* LevelList, TEdit* Passphrase, TMaskEdit* Key);

    WepLevel Level() const;
    // Shows Level in the list; a 152-bit level, which only stored profiles
    // have, is listed as a fourth item of its own. Fires nothing.
    void SetLevel(WepLevel Level);
    // Mask, enabling and colours for the chosen level, the key in the form
    // given. The passphrase is offered for 64- and 128-bit keys, and only
    // when the WEP key library can make keys; a key can always be typed.
    void ApplyLevel(WepKeyForm Form);
    // A new level empties the passphrase and the key first.
    void LevelChanged(WepKeyForm Form);
    // A passphrase makes the key; an emptied one empties it.
    void PassphraseChanged();
    // Key 1 of the level from the passphrase; the key is left as it is when
    // the library cannot make one.
    void GenerateKey();
    // Discards every character but hexadecimal digits and backspace.
    static void FilterKeyPress(char& Typed);
    void SelectKey();
    // The key field's key for the level into Key (16 bytes); bytes the level
    // does not use, and every byte at level Disabled, are 0.
    void ReadKey(uint8_t* Key) const;

    // Enabled controls are white, disabled ones the colour of a button face.
    static void SetUsable(TWinControl* Control, bool Usable);

private:
    void ListLevels(WepLevel Highest);
    TComboBox* const LevelList;
    TEdit* const Passphrase;
    TMaskEdit* const Key;
};
