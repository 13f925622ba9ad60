#include "wep_key_controls.h"
#include "drivers/wep_library.h"
#include "profile_rules.h"
#include "toolkit/application.h"

#include <cstring>

TWepKeyControls::TWepKeyControls(TComboBox* LevelList, TEdit* Passphrase, TMaskEdit* Key)
    : LevelList(LevelList), Passphrase(Passphrase), Key(Key)
{
    LevelList->Style = csDropDownList;
    ListLevels(WepLevel::Bits128);
    // The library's passphrase buffer holds no more.
    Passphrase->SetMaxLength(PassphraseMaxLength);
    Key->SetCharCase(ecUpperCase);
}

WepLevel TWepKeyControls::Level() const
{
    const int index = LevelList->ItemIndex();
    return index < 0 ? WepLevel::Disabled : static_cast<WepLevel>(index);
}

void TWepKeyControls::ListLevels(WepLevel Highest)
{
    TStrings* items = LevelList->Items();
    items->Clear();
    for (int level = 0; level <= static_cast<int>(Highest); ++level) items->Add(WepLevelName(level));
}

void TWepKeyControls::SetLevel(WepLevel Level)
{
    ListLevels(Level == WepLevel::Bits152 ? WepLevel::Bits152 : WepLevel::Bits128);
    LevelList->SetItemIndex(static_cast<int>(Level));
}

void TWepKeyControls::SetUsable(TWinControl* Control, bool Usable)
{
    Control->SetEnabled(Usable);
    Control->SetColor(Usable ? clWhite : clBtnFace);
}

void TWepKeyControls::ApplyLevel(WepKeyForm Form)
{
    const WepLevel level = Level();
    Key->SetEditMask(WepKeyMask(level, Form));
    SetUsable(Key, level != WepLevel::Disabled);
    SetUsable(Passphrase, (level == WepLevel::Bits64 || level == WepLevel::Bits128) && WepKeyGeneratorAvailable());
    Application->ProcessMessages();
}

void TWepKeyControls::LevelChanged(WepKeyForm Form)
{
    Passphrase->SetText("");
    Key->SetText("");
    ApplyLevel(Form);
}

void TWepKeyControls::PassphraseChanged()
{
    if (Passphrase->Text().empty())
        Key->SetText("");
    else
        GenerateKey();
}

void TWepKeyControls::GenerateKey()
{
    std::string key1;
    if (GenerateWepKey1(Passphrase->Text(), WepKeySize(Level()), key1)) Key->SetText(key1);
}

void TWepKeyControls::FilterKeyPress(char& Typed)
{
    if (!IsWepKeyCharacter(Typed)) Typed = 0;
}

// After the field's own handling of the click, which places the caret or
// selects a word.
void TWepKeyControls::SelectKey() { ::PostMessageA(Key->Handle(), EM_SETSEL, 0, -1); }

void TWepKeyControls::ReadKey(uint8_t* KeyBytes) const
{
    std::memset(KeyBytes, 0, 16);
    HexTextToKey(KeyBytes, Key->Text(), Level());
}
