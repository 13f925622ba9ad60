// The cipher of the WEP keys in profile files: RC4 as published, applied to
// a key frame in the manner of a WEP frame. A frame is a 3-byte IV, a key-id
// byte whose top two bits hold a key index, and the enciphered data; its RC4
// key is the IV followed by L bytes of a fixed key, taken from byte L * index.
// Portable: no Windows call.
#pragma once
#include <cstddef>
#include <cstdint>

struct Rc4State {
    uint8_t S[256];
    uint8_t I, J; // kept between calls of Rc4Crypt
};

void Rc4Init(Rc4State& State, const uint8_t* Key, size_t KeyLength);
// Enciphers or deciphers Length bytes in place, going on from State.
void Rc4Crypt(Rc4State& State, uint8_t* Buffer, size_t Length);

// The 16 bytes that every writer and reader of profile files holds.
extern const uint8_t CfgFixedKey[16];

constexpr size_t WepFrameHeader = 4; // IV and key-id byte

inline unsigned WepFrameKeyIndex(const uint8_t* Frame) { return Frame[3] >> 6; }

// Writes Iv and KeyIndex into the frame's header and enciphers the DataLength
// bytes after it under the IV and the KeyLength bytes of FixedKey from byte
// KeyLength * KeyIndex. False, and the frame untouched, when that slice runs
// past the fixed key's 16 bytes.
bool WepEncapsulate(uint8_t* Frame, size_t DataLength, unsigned KeyIndex, const uint8_t* FixedKey,
                    const uint8_t* Iv, size_t KeyLength);
// Deciphers the bytes after the header of a frame of FrameLength bytes under
// its IV and key index. False, and the frame untouched, when the frame has
// no header or its key index selects a slice past the fixed key's 16 bytes.
bool WepDecapsulate(uint8_t* Frame, size_t FrameLength, const uint8_t* FixedKey, size_t KeyLength);
