#include "engine/catalogue.h"

namespace agelark {

namespace {

constexpr ConsoleGroup groups[] = {
    {WindowId::Form1, "Atari", 0, "txtAtari", "NowText", "lblLabel1", "Picture1", 1},
    {WindowId::Form1, "Nintendo", 1, "txtNes", "txtNesNow", "lblLabel4", "Picture4", 0},
    {WindowId::Form1, "Sega", 2, "txtSega", "txtSegaNow", "lblLabel3", "Picture3", 2},
    {WindowId::Form1, "Sony", 3, "txtPs", "txtPsNow", "lblLabel2", "Picture2", 3},
    {WindowId::Form1, "Microsoft", 4, "txtXbox", "txtXboxNow", "lblLabel5", "Picture5", 4},
    {WindowId::Form2, "", -1, "txtThen", "txtNow", "lblAgelark", "Picture1", 0},
};
constexpr const ConsoleGroup &atari = groups[0], &nintendo = groups[1], &sega = groups[2], &sony = groups[3],
                             &microsoft = groups[4], &handheld = groups[5];

constexpr std::uint32_t white = 0xFFFFFF, black = 0x000000, red = 0x0000FF, orange = 0x3E8FF4,
                        lilac = 0xC691B6, green = 0x17DD89;

constexpr ConsoleEntry row(const ConsoleGroup& g, std::string_view key, std::string_view ageFunction,
                           std::string_view button, std::string_view caption, std::string_view timer,
                           std::string_view picture, std::string_view countFrom, std::string_view title,
                           std::string_view release, std::uint32_t colour, double fontSize = 14,
                           OnFailure onFailure = OnFailure::Tell) {
    return ConsoleEntry{key,       ageFunction, g.window,       g.tab,        g.tabIndex, button,
                        caption,   timer,       g.thenBox,      g.nowBox,     g.resultLabel,
                        g.pictureBox, g.bylineIndex, picture,   countFrom,    title,      release,
                        colour,    fontSize,    onFailure};
}

constexpr ConsoleEntry rows[] = {
    // The first console to reach the limit of the count: the main window starts over with a notice.
    row(atari, "2", "CalcDiff2Dates", "cmdCommand2600", "2600", "Timer1", "\\atari2600.jpg", "09/11/1977",
        " The Atari 2600 was released ", " Released in the US on 9/11/1977 ", white, 14, OnFailure::StartOver),
    row(atari, "5200", "CalcDiff5200Dates", "cmdCommand5200", "5200", "Timer2", "\\5200.jpg", "11/01/1982",
        " The Atari 5200 was released ", " Released in the US on 11/1/1982 ", white),
    row(atari, "7800", "CalcDiff7800Dates", "cmdCommand7800", "7800", "Timer3", "\\7800.jpg", "01/01/1986",
        " The Atari 7800 was released ", " Released in the US on 1/1/1986 ", white),
    row(atari, "XEGS", "CalcDiffXEGSDates", "cmdXEGS", "XEGS", "Timer25", "\\xegs.jpg", "11/01/1987",
        " The Atari XEGS was released ", " Released in the US on 11/1/1987 ", white),
    row(atari, "LYNX", "CalcDiffLYNXDates", "cmdLYNX", "LYNX", "Timer26", "\\lynx.jpg", "10/11/1989",
        " The Atari LYNX was released ", " Released in the US on 10/11/1989 ", black),
    row(atari, "Jag", "CalcDiffJagDates", "cmdCommandJag", "JAGUAR", "Timer4", "\\Jag.jpg", "11/15/1993",
        " The Atari Jaguar was released ", " Released in the US on 11/15/1993 ", white),

    // The NES counts from 10/23/1985 although its release line says 10/21/1985.
    row(nintendo, "Nes", "CalcDiffNesDates", "cmdNES", "NES", "Timer13", "\\nes.jpg", "10/23/1985",
        " The NES was released ", " Released in the US on 10/21/1985 ", white),
    row(nintendo, "sNes", "CalcDiffsNesDates", "cmdSNES", "SNES", "Timer14", "\\snes.jpg", "08/23/1991",
        " The SNES was released ", " Released in the US on 8/23/1991 ", lilac),
    row(nintendo, "VBOY", "CalcDiffVBOYDates", "cmdVBOY", "VIRTUAL BOY", "Timer27", "\\vb.jpg", "08/14/1995",
        " The Virtual Boy was released ", " Released in the US on 8/14/1995 ", red),
    row(nintendo, "n64", "CalcDiffn64Dates", "cmdN64", "N64", "Timer15", "\\n64.jpg", "09/29/1996",
        " The N64 was released ", " Released in the US on 9/29/1996 ", white),
    row(nintendo, "ngc", "CalcDiffngcDates", "cmdNGC", "GAMECUBE", "Timer16", "\\ngc.jpg", "11/18/2001",
        " The GameCube was released ", " Released in the US on 11/18/2001 ", white),
    row(nintendo, "wii", "CalcDiffwiiDates", "cmdWii", "Wii", "Timer17", "\\wii.jpg", "11/19/2006",
        " The Wii was released ", " Released in the US on 11/19/2006 ", white),
    row(nintendo, "wiiu", "CalcDiffwiiuDates", "cmdWiiu", "Wii U", "Timer18", "\\wiiu.jpg", "11/18/2012",
        " The WiiU was released ", " Released in the US on 11/18/2012 ", white),
    row(nintendo, "SW", "CalcDiffSWDates", "cmdSW", "SWITCH", "TimerSW", "\\switch.jpg", "03/03/2017",
        " The Switch was released ", " Released in the US on 3/3/2017 ", white),

    row(sega, "segaMS", "CalcDiffsegaMSDates", "cmdMS", "Master System", "Timer9", "\\segaMS.jpg", "06/01/1986",
        " The Master System was released ", " Released in the US on 6/1/1986 ", red, 13.5),
    row(sega, "segaGen", "CalcDiffsegaGenDates", "cmdGen", "Genesis", "Timer10", "\\segaGen.jpg", "08/14/1989",
        " The Genesis was released ", " Released in the US on 8/14/1989 ", white),
    row(sega, "segaSat", "CalcDiffsegaSatDates", "cmdSat", "Saturn", "Timer11", "\\segaSat.jpg", "05/11/1995",
        " The Saturn was released ", " Released in the US on 5/11/1995 ", white),
    // The Nomad counts from 10/01/1995 although its release line says 11/1/1995.
    row(sega, "Nomad", "CalcDiffNomadDates", "cmdNomad", "Nomad", "Timer28", "\\nomad.jpg", "10/01/1995",
        " The Nomad was released ", " Released in the US on 11/1/1995 ", orange),
    row(sega, "segaDC", "CalcDiffsegaDCDates", "cmdDC", "Dreamcast", "Timer12", "\\segaDC.jpg", "09/09/1999",
        " The Dreamcast was released ", " Released in the US on 9/9/1999 ", orange),

    row(sony, "ps1", "CalcDiffps1Dates", "cmdPS1", "PS1", "Timer5", "\\ps1.jpg", "09/09/1995",
        " The PlayStation was released ", " Released in the US on 9/9/1995 ", black),
    row(sony, "ps2", "CalcDiffps2Dates", "cmdPS2", "PS2", "Timer6", "\\ps2.jpg", "03/04/2000",
        " The PS2 was released ", " Released in the US on 3/4/2000 ", white),
    row(sony, "ps3", "CalcDiffps3Dates", "cmdPS3", "PS3", "Timer7", "\\ps3.jpg", "11/17/2006",
        " The PS3 was released ", " Released in the US on 11/17/2006 ", black),
    row(sony, "ps4", "CalcDiffps4Dates", "cmdPS4", "PS4", "Timer8", "\\ps4.jpg", "11/15/2013",
        " The PS4 was released ", " Released in the US on 11/15/2013 ", white),
    row(sony, "ps5", "CalcDiffps5Dates", "cmdPS5", "PS5", "Timerps5", "\\ps5.jpg", "11/12/2020",
        " The PS5 was released ", " Released in the US on 11/12/2020 ", white),
    row(sony, "PSP", "CalcDiffPSPDates", "cmdPSP", "PSP", "Timer29", "\\psp.jpg", "03/24/2005",
        " The PSP was released ", " Released in the US on 3/24/2005 ", black),
    row(sony, "PSPGO", "CalcDiffPSPGODates", "cmdPSPGO", "PSP GO", "Timer30", "\\pspgo.jpg", "10/01/2009",
        " The PSP GO was released ", " Released in the US on 10/1/2009 ", black),
    row(sony, "VITA", "CalcDiffVITADates", "cmdVITA", "PS VITA", "Timer31", "\\psvita.jpg", "02/15/2012",
        " The PS VITA was released ", " Released in the US on 2/15/2012 ", black),

    row(microsoft, "xbox", "CalcDiffxboxDates", "cmdXBOX", "XBOX", "Timer19", "\\xbox.jpg", "11/15/2001",
        " The Xbox was released ", " Released in the US on 11/15/2001 ", green),
    row(microsoft, "360", "CalcDiff360Dates", "cmd360", "360", "Timer20", "\\x360.jpg", "11/22/2005",
        " The Xbox 360 was released ", " Released in the US on 11/22/2005 ", green),
    row(microsoft, "one", "CalcDiffoneDates", "cmdONE", "ONE", "Timer21", "\\xone.jpg", "11/22/2013",
        " The Xbox One was released ", " Released in the US on 11/22/2013 ", white),
    row(microsoft, "SX", "CalcDiffSXDates", "cmdSX", "SERIES X", "TimerSX", "\\xsx.jpg", "11/10/2020",
        " The Xbox Series X was released ", " Released in the US on 11/10/2020 ", white),

    row(handheld, "GB", "CalcDiffGBDates", "cmdGB", "GB", "Timer1", "\\GB.jpg", "07/31/1989",
        " The GameBoy was released ", " Released in the US on 7/31/1989 ", black),
    row(handheld, "GBC", "CalcDiffGBCDates", "cmdGBC", "GBC", "Timer2", "\\GBC.jpg", "10/21/1998",
        " The GBC was released ", " Released in the US on 10/21/1998 ", black),
    row(handheld, "GBA", "CalcDiffGBADates", "cmdGBA", "GB Advance", "Timer3", "\\GBA.jpg", "06/11/2001",
        " The GBA was released ", " Released in the US on 6/11/2001 ", black),
    // The button's caption is spelled "GB Mirco"; the report says "GB Micro".
    row(handheld, "GBM", "CalcDiffGBMDates", "cmdGBM", "GB Mirco", "Timer4", "\\GBM.jpg", "09/19/2005",
        " The GB Micro was released ", " Released in the US on 9/19/2005 ", black),
    row(handheld, "DS", "CalcDiffDSDates", "cmdNDS", "Nintendo DS", "Timer5", "\\DS.jpg", "11/21/2004",
        " The DS was released ", " Released in the US on 11/21/2004 ", black),
    row(handheld, "3DS", "CalcDiff3DSDates", "cmd3DS", "Nintendo 3DS", "Timer6", "\\3DS.jpg", "02/26/2011",
        " The 3DS was released ", " Released in the US on 2/26/2011 ", black),
};

template <class Pred>
const ConsoleEntry* find(Pred pred) {
    for (const ConsoleEntry& e : rows)
        if (pred(e)) return &e;
    return nullptr;
}

}  // namespace

std::string_view windowName(WindowId window) { return window == WindowId::Form1 ? "Form1" : "Form2"; }

std::span<const ConsoleEntry> catalogue() { return rows; }

const ConsoleEntry* entryForButton(WindowId window, std::string_view button) {
    return find([&](const ConsoleEntry& e) { return e.window == window && e.button == button; });
}

const ConsoleEntry* entryForTimer(WindowId window, std::string_view timer) {
    return find([&](const ConsoleEntry& e) { return e.window == window && e.timer == timer; });
}

const ConsoleEntry* entryForAgeFunction(std::string_view ageFunction) {
    return find([&](const ConsoleEntry& e) { return e.ageFunction == ageFunction; });
}

std::vector<const ConsoleEntry*> groupOf(const ConsoleEntry& entry) {
    std::vector<const ConsoleEntry*> members;
    for (const ConsoleEntry& e : rows)
        if (e.window == entry.window && e.tabIndex == entry.tabIndex) members.push_back(&e);
    return members;
}

std::span<const ConsoleGroup> consoleGroups() { return groups; }

std::vector<const ConsoleEntry*> consolesOf(const ConsoleGroup& group) {
    std::vector<const ConsoleEntry*> members;
    for (const ConsoleEntry& e : rows)
        if (e.window == group.window && e.tabIndex == group.tabIndex) members.push_back(&e);
    return members;
}

}  // namespace agelark
