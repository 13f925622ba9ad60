#include "profile_cipher.h"

#include <cstring>
#include <utility>

const uint8_t CfgFixedKey[16] = {0x5A, 0x0C, 0x93, 0xE1, 0x7B, 0x24, 0xD8, 0x6F,
                                 0x0A, 0x3B, 0x9C, 0x41, 0xE2, 0x58, 0x7D, 0x16};

void Rc4Init(Rc4State& State, const uint8_t* Key, size_t KeyLength)
{
    for (int n = 0; n < 256; ++n) State.S[n] = static_cast<uint8_t>(n);
    uint8_t j = 0;
    for (size_t n = 0; n < 256; ++n) {
        j = static_cast<uint8_t>(j + State.S[n] + Key[n % KeyLength]);
        std::swap(State.S[n], State.S[j]);
    }
    State.I = State.J = 0;
}

void Rc4Crypt(Rc4State& State, uint8_t* Buffer, size_t Length)
{
    uint8_t* S = State.S;
    for (size_t n = 0; n < Length; ++n) {
        State.I = static_cast<uint8_t>(State.I + 1);
        State.J = static_cast<uint8_t>(State.J + S[State.I]);
        std::swap(S[State.I], S[State.J]);
        Buffer[n] ^= S[static_cast<uint8_t>(S[State.I] + S[State.J])];
    }
}

namespace {

// RC4 over the frame's data under its IV and the slice of the fixed key.
void CryptFrame(uint8_t* Frame, size_t DataLength, const uint8_t* FixedKey, size_t KeyLength)
{
    uint8_t key[3 + 16];
    std::memcpy(key, Frame, 3);
    std::memcpy(key + 3, FixedKey + KeyLength * WepFrameKeyIndex(Frame), KeyLength);
    Rc4State state;
    Rc4Init(state, key, 3 + KeyLength);
    Rc4Crypt(state, Frame + WepFrameHeader, DataLength);
}

bool SliceFits(unsigned KeyIndex, size_t KeyLength) { return KeyLength * (KeyIndex + 1) <= 16; }

} // namespace

bool WepEncapsulate(uint8_t* Frame, size_t DataLength, unsigned KeyIndex, const uint8_t* FixedKey,
                    const uint8_t* Iv, size_t KeyLength)
{
    if (KeyIndex > 3 || !SliceFits(KeyIndex, KeyLength)) return false;
    std::memcpy(Frame, Iv, 3);
    Frame[3] = static_cast<uint8_t>(KeyIndex << 6);
    CryptFrame(Frame, DataLength, FixedKey, KeyLength);
    return true;
}

bool WepDecapsulate(uint8_t* Frame, size_t FrameLength, const uint8_t* FixedKey, size_t KeyLength)
{
    if (FrameLength < WepFrameHeader || !SliceFits(WepFrameKeyIndex(Frame), KeyLength)) return false;
    CryptFrame(Frame, FrameLength - WepFrameHeader, FixedKey, KeyLength);
    return true;
}
