// Dotted address texts and the address/mask check: portable, both trees.
#include "vantra/ip_address.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

DottedAddress Parsed(const std::string& Text)
{
    DottedAddress address;
    std::memset(&address, 0xAA, sizeof address); // octets left over must not survive
    std::memset(address.Text, 0, sizeof address.Text);
    std::memcpy(address.Text, Text.data(), std::min(Text.size(), sizeof address.Text));
    ParseDottedIp(address);
    return address;
}

std::vector<int> OctetsOf(const std::string& Text)
{
    const DottedAddress a = Parsed(Text);
    return {a.Octets[0], a.Octets[1], a.Octets[2], a.Octets[3]};
}

const std::vector<int> Zeros{0, 0, 0, 0};

TEST(ParseDottedIp, FourComponentsGiveTheirOctets)
{
    EXPECT_EQ(OctetsOf("192.168.1.1"), (std::vector<int>{0xC0, 0xA8, 0x01, 0x01}));
    EXPECT_EQ(OctetsOf("0.0.0.0"), Zeros);
    EXPECT_EQ(OctetsOf("255.255.255.255"), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(OctetsOf(" 10.  0.  0.138"), (std::vector<int>{10, 0, 0, 138})); // the fields' own padding
    EXPECT_EQ(OctetsOf("1.2.x.4"), (std::vector<int>{1, 2, 0, 4}));          // not a number: 0
}

TEST(ParseDottedIp, AnythingElseGivesFourZeros)
{
    for (const char* text : {"", "1.2.3", "1.2.3.4.5", "1..2.3", "1.2.300.4", ".1.2.3", "1.2.3.", "....",
                             "1.2.-1.4", "1.2.99999999999.4", "256.1.1.1"})
        EXPECT_EQ(OctetsOf(text), Zeros) << '"' << text << '"';
}

TEST(ParseDottedIp, ReadsNoFurtherThanTheTextField)
{
    DottedAddress address;
    std::memset(address.Text, '1', sizeof address.Text); // no terminator at all
    std::memset(address.Octets, 0x55, sizeof address.Octets);
    ParseDottedIp(address);
    EXPECT_EQ(std::vector<int>(address.Octets, address.Octets + 4), Zeros);

    std::memcpy(address.Text, "1.22.133.244.255", 16); // five components filling the field
    ParseDottedIp(address);
    EXPECT_EQ(std::vector<int>(address.Octets, address.Octets + 4), Zeros);
    std::memcpy(address.Text, "100.200.100.2001", 16);
    ParseDottedIp(address);
    EXPECT_EQ(std::vector<int>(address.Octets, address.Octets + 4), Zeros);
}

TEST(FormatDottedIp, WritesPlainDecimals)
{
    DottedAddress address;
    std::memset(address.Text, 'x', sizeof address.Text);
    const uint8_t octets[4] = {10, 0, 0, 138};
    std::memcpy(address.Octets, octets, 4);
    FormatDottedIp(address);
    EXPECT_STREQ(address.Text, "10.0.0.138");
    std::memset(address.Octets, 255, 4);
    FormatDottedIp(address);
    EXPECT_STREQ(address.Text, "255.255.255.255");
    EXPECT_EQ(OctetsOf(address.Text), (std::vector<int>{255, 255, 255, 255}));
}

TEST(OctetTextValue, NumbersAndTheRest)
{
    EXPECT_EQ(OctetTextValue("  7"), 7);
    EXPECT_EQ(OctetTextValue("192"), 192);
    EXPECT_EQ(OctetTextValue("0001"), 1);
    EXPECT_EQ(OctetTextValue("+5"), 5);
    EXPECT_EQ(OctetTextValue("-5"), -5);
    EXPECT_EQ(OctetTextValue(""), 0);
    EXPECT_EQ(OctetTextValue("  "), 0);
    EXPECT_EQ(OctetTextValue("12a"), 0);
    EXPECT_EQ(OctetTextValue("1 2"), 0);
    EXPECT_EQ(OctetTextValue(std::string(5000, '9')), INT32_MAX);
}

const char* const InvalidMask = "You entered an invalid subnet mask. Please enter a valid mask.";
const char* const Invalid = "Invalid IP or subnet mask address.";
const char* const NetworkZero =
    "The combination of IP address and subnet mask is invalid. All of the bits in the network address portion of "
    "the IP\naddress are set to 0. Please enter a valid combination of IP address and subnet mask.";
const char* const HostZero =
    "The combination of IP address and subnet mask is invalid. All of the bits in the host address portion of the "
    "IP\naddress are set to 0. Please enter a valid combination of IP address and subnet mask.";

struct Verdict {
    bool Valid;
    std::vector<std::string> Messages;
};

Verdict Check(const char* Address, const char* Mask)
{
    Verdict v;
    v.Valid = ValidateIpAndMask(Parsed(Address), Parsed(Mask), [&](const char* Text) { v.Messages.push_back(Text); });
    return v;
}

TEST(ValidateIpAndMask, TheMessagesInTheirOrder)
{
    Verdict v = Check("192.168.1.5", "255.255.255.0");
    EXPECT_TRUE(v.Valid);
    EXPECT_TRUE(v.Messages.empty());
    EXPECT_TRUE(Check("10.1.2.3", "255.0.0.0").Valid);
    EXPECT_TRUE(Check("172.16.5.4", "255.255.240.0").Valid);

    for (const char* mask : {"255.0.255.0", "255.255.255.1", "255.255.254.255", "0.255.0.0", "255.255.255.3"}) {
        v = Check("192.168.1.5", mask);
        EXPECT_FALSE(v.Valid) << mask;
        EXPECT_EQ(v.Messages, std::vector<std::string>{InvalidMask}) << mask;
    }

    v = Check("0.0.1.1", "255.255.0.0");
    EXPECT_FALSE(v.Valid);
    EXPECT_EQ(v.Messages, std::vector<std::string>{NetworkZero});
    v = Check("192.168.0.0", "255.255.0.0");
    EXPECT_FALSE(v.Valid);
    EXPECT_EQ(v.Messages, std::vector<std::string>{HostZero});
    v = Check("0.0.0.0", "0.0.0.0");
    EXPECT_FALSE(v.Valid);
    EXPECT_EQ(v.Messages, (std::vector<std::string>{NetworkZero, HostZero}));

}

TEST(ValidateIpAndMask, TakesEveryHostAddressAndRefusesTheBroadcastAddress)
{
    // Octets that hold all of their mask octet's bits make ordinary hosts.
    const std::pair<const char*, const char*> hosts[] = {
        {"192.168.1.130", "255.255.255.128"}, {"192.168.1.200", "255.255.255.192"}, {"10.255.0.1", "255.255.0.0"},
        {"192.168.255.1", "255.255.255.0"},   {"192.168.1.5", "255.255.255.0"},     {"192.168.1.254", "255.255.255.0"},
        {"10.0.0.1", "255.255.255.254"}, // a point-to-point link has no broadcast address
    };
    for (const auto& h : hosts) {
        const Verdict v = Check(h.first, h.second);
        EXPECT_TRUE(v.Valid) << h.first << "/" << h.second;
        EXPECT_TRUE(v.Messages.empty()) << h.first << "/" << h.second;
    }

    // A host part of all ones, over the whole 32 bits, is the broadcast address.
    const std::pair<const char*, const char*> broadcasts[] = {
        {"192.168.1.255", "255.255.255.0"}, {"192.168.1.127", "255.255.255.128"}, {"10.1.255.255", "255.255.0.0"},
        {"192.168.1.63", "255.255.255.192"}, {"10.255.255.255", "255.0.0.0"}};
    for (const auto& b : broadcasts) {
        const Verdict v = Check(b.first, b.second);
        EXPECT_FALSE(v.Valid) << b.first << "/" << b.second;
        EXPECT_EQ(v.Messages, std::vector<std::string>{Invalid}) << b.first << "/" << b.second;
    }

    // A host part of all zeros is the network itself.
    const std::pair<const char*, const char*> networks[] = {{"192.168.1.0", "255.255.255.0"},
                                                            {"192.168.1.128", "255.255.255.128"}};
    for (const auto& n : networks) {
        const Verdict v = Check(n.first, n.second);
        EXPECT_FALSE(v.Valid) << n.first << "/" << n.second;
        EXPECT_EQ(v.Messages, std::vector<std::string>{HostZero}) << n.first << "/" << n.second;
    }
}

TEST(ValidateIpAndMask, HostileTextsBecomeZeroAddresses)
{
    // Unparsable texts give 0.0.0.0, which has neither network nor host bits.
    for (const char* text : {"1..2.3", "abc", "999.1.1.1"}) {
        Verdict v = Check(text, "255.255.255.0");
        EXPECT_FALSE(v.Valid);
        EXPECT_EQ(v.Messages, (std::vector<std::string>{NetworkZero, HostZero})) << text;
        v = Check("192.168.1.5", text);
        EXPECT_FALSE(v.Valid);
        EXPECT_EQ(v.Messages, std::vector<std::string>{NetworkZero}) << text; // mask 0.0.0.0: no network part
    }
}

} // namespace
