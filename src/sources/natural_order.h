// The order of file names a reader of numbered chapters expects: numbers compare by value,
// whether written in ASCII digits, full-width digits or Chinese numerals ("第二回" before
// "第十回" before "第一百回", "第２章" before "第１０章"), the rest without regard to ASCII
// case.
#pragma once

#include <string>

// -1, 0 or 1. Names equal but for case or leading zeros still get a fixed order; 0 only
// for equal names.
int NaturalCompare(const std::string& a, const std::string& b);
