#pragma once
#include "forms/program.h"

namespace browser {

// "Internet Browser": the numbers are stamped in by the build.
forms::ProgramInfo programInfo();

// The fixed addresses, each handed to Navigate exactly as written here: the window never
// adds or removes a scheme or a slash. The bare host names rely on the web view reading
// a target that starts with a host as a web address.
inline constexpr const char StartAddress[] = "www.brambleton.example";           // start-up
inline constexpr const char YahooAddress[] = "www.yahoo.com";
inline constexpr const char GoogleAddress[] = "http://www.google.com";
inline constexpr const char MakerAddress[] = "http://www.brambleton.example";    // "Brambleton"
inline constexpr const char HotmailAddress[] = "http://www.hotmail.com";
inline constexpr const char TranslateAddress[] = "http://translate.google.com/";
inline constexpr const char MicrosoftAddress[] = "www.microsoft.com";

} // namespace browser
