#pragma once
// The custom count-up on the "Custom" page: counting up from a date the user
// types, and Reset.

namespace agelark {

class FormWindow;

void cmdCustom_Click(FormWindow* form1);  // "Submit"
void Timer24_Timer(FormWindow* form1);    // one tick of the count-up
void cmdReset_Click(FormWindow* form1);   // "Reset"

}  // namespace agelark
