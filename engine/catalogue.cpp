#include "engine/catalogue.h"

namespace agelark {

namespace {

constexpr std::uint32_t white = 0xFFFFFF, black = 0x000000, red = 0x0000FF, orange = 0x3E8FF4,
                        lilac = 0xC691B6, green = 0x17DD89;

constexpr ConsoleEntry row(Page page, std::string_view button, std::string_view caption, std::string_view name,
                           std::string_view picture, std::string_view countFrom, std::string_view releasedOn,
                           std::uint32_t colour, double points = 14, bool startsOver = false) {
    return {page, button, caption, name, picture, countFrom, releasedOn, colour, points, startsOver};
}

// The NES counts from 10/23/1985 and the Nomad from 10/01/1995 although
// their reports name other days; the GB Micro's button says "GB Mirco".
// The Atari 2600 is the first to reach the limit of the count.
constexpr ConsoleEntry rows[] = {
    row(Page::Atari, "cmdCommand2600", "2600", "Atari 2600", "\\atari2600.jpg", "09/11/1977", "9/11/1977", white, 14, true),
    row(Page::Atari, "cmdCommand5200", "5200", "Atari 5200", "\\5200.jpg", "11/01/1982", "11/1/1982", white),
    row(Page::Atari, "cmdCommand7800", "7800", "Atari 7800", "\\7800.jpg", "01/01/1986", "1/1/1986", white),
    row(Page::Atari, "cmdXEGS", "XEGS", "Atari XEGS", "\\xegs.jpg", "11/01/1987", "11/1/1987", white),
    row(Page::Atari, "cmdLYNX", "LYNX", "Atari LYNX", "\\lynx.jpg", "10/11/1989", "10/11/1989", black),
    row(Page::Atari, "cmdCommandJag", "JAGUAR", "Atari Jaguar", "\\Jag.jpg", "11/15/1993", "11/15/1993", white),
    row(Page::Nintendo, "cmdNES", "NES", "NES", "\\nes.jpg", "10/23/1985", "10/21/1985", white),
    row(Page::Nintendo, "cmdSNES", "SNES", "SNES", "\\snes.jpg", "08/23/1991", "8/23/1991", lilac),
    row(Page::Nintendo, "cmdVBOY", "VIRTUAL BOY", "Virtual Boy", "\\vb.jpg", "08/14/1995", "8/14/1995", red),
    row(Page::Nintendo, "cmdN64", "N64", "N64", "\\n64.jpg", "09/29/1996", "9/29/1996", white),
    row(Page::Nintendo, "cmdNGC", "GAMECUBE", "GameCube", "\\ngc.jpg", "11/18/2001", "11/18/2001", white),
    row(Page::Nintendo, "cmdWii", "Wii", "Wii", "\\wii.jpg", "11/19/2006", "11/19/2006", white),
    row(Page::Nintendo, "cmdWiiu", "Wii U", "WiiU", "\\wiiu.jpg", "11/18/2012", "11/18/2012", white),
    row(Page::Nintendo, "cmdSW", "SWITCH", "Switch", "\\switch.jpg", "03/03/2017", "3/3/2017", white),
    row(Page::Sega, "cmdMS", "Master System", "Master System", "\\segaMS.jpg", "06/01/1986", "6/1/1986", red, 13.5),
    row(Page::Sega, "cmdGen", "Genesis", "Genesis", "\\segaGen.jpg", "08/14/1989", "8/14/1989", white),
    row(Page::Sega, "cmdSat", "Saturn", "Saturn", "\\segaSat.jpg", "05/11/1995", "5/11/1995", white),
    row(Page::Sega, "cmdNomad", "Nomad", "Nomad", "\\nomad.jpg", "10/01/1995", "11/1/1995", orange),
    row(Page::Sega, "cmdDC", "Dreamcast", "Dreamcast", "\\segaDC.jpg", "09/09/1999", "9/9/1999", orange),
    row(Page::Sony, "cmdPS1", "PS1", "PlayStation", "\\ps1.jpg", "09/09/1995", "9/9/1995", black),
    row(Page::Sony, "cmdPS2", "PS2", "PS2", "\\ps2.jpg", "03/04/2000", "3/4/2000", white),
    row(Page::Sony, "cmdPS3", "PS3", "PS3", "\\ps3.jpg", "11/17/2006", "11/17/2006", black),
    row(Page::Sony, "cmdPS4", "PS4", "PS4", "\\ps4.jpg", "11/15/2013", "11/15/2013", white),
    row(Page::Sony, "cmdPS5", "PS5", "PS5", "\\ps5.jpg", "11/12/2020", "11/12/2020", white),
    row(Page::Sony, "cmdPSP", "PSP", "PSP", "\\psp.jpg", "03/24/2005", "3/24/2005", black),
    row(Page::Sony, "cmdPSPGO", "PSP GO", "PSP GO", "\\pspgo.jpg", "10/01/2009", "10/1/2009", black),
    row(Page::Sony, "cmdVITA", "PS VITA", "PS VITA", "\\psvita.jpg", "02/15/2012", "2/15/2012", black),
    row(Page::Microsoft, "cmdXBOX", "XBOX", "Xbox", "\\xbox.jpg", "11/15/2001", "11/15/2001", green),
    row(Page::Microsoft, "cmd360", "360", "Xbox 360", "\\x360.jpg", "11/22/2005", "11/22/2005", green),
    row(Page::Microsoft, "cmdONE", "ONE", "Xbox One", "\\xone.jpg", "11/22/2013", "11/22/2013", white),
    row(Page::Microsoft, "cmdSX", "SERIES X", "Xbox Series X", "\\xsx.jpg", "11/10/2020", "11/10/2020", white),
    row(Page::Handheld, "cmdGB", "GB", "GameBoy", "\\GB.jpg", "07/31/1989", "7/31/1989", black),
    row(Page::Handheld, "cmdGBC", "GBC", "GBC", "\\GBC.jpg", "10/21/1998", "10/21/1998", black),
    row(Page::Handheld, "cmdGBA", "GB Advance", "GBA", "\\GBA.jpg", "06/11/2001", "6/11/2001", black),
    row(Page::Handheld, "cmdGBM", "GB Mirco", "GB Micro", "\\GBM.jpg", "09/19/2005", "9/19/2005", black),
    row(Page::Handheld, "cmdNDS", "Nintendo DS", "DS", "\\DS.jpg", "11/21/2004", "11/21/2004", black),
    row(Page::Handheld, "cmd3DS", "Nintendo 3DS", "3DS", "\\3DS.jpg", "02/26/2011", "2/26/2011", black),};

}  // namespace

std::span<const ConsoleEntry> catalogue() { return rows; }

std::vector<const ConsoleEntry*> consolesOn(Page page) {
    std::vector<const ConsoleEntry*> on;
    for (const ConsoleEntry& e : rows)
        if (e.page == page) on.push_back(&e);
    return on;
}

std::string_view pageCaption(Page page) {
    constexpr std::string_view captions[] = {"Atari", "Nintendo", "Sega", "Sony", "Microsoft", ""};
    return captions[int(page)];
}

}  // namespace agelark
