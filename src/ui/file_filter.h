// Filter strings of the file-open dialog.
#pragma once

#include <string>
#include <string_view>

// "text Files (*.txt)|*.txt|All Files (*.*)|*.*||" becomes the list the common dialog
// takes: each '|' a NUL, ending with two NULs whether or not the input ends with "||".
std::string FileDialogFilter(std::string_view barSeparated);
