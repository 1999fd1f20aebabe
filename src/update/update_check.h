#pragma once
// The question to the update service: is there something newer than this version of this target?

#include "update/http_client.h"
#include "update/update_info.h"

#include <string>
#include <string_view>

namespace zrv::platform {
class SettingsStore;
}

namespace zrv::update {

// The answer buffer of one check; a longer answer fails the check.
inline constexpr size_t kUpdateAnswerBytes = 102400;

// The service's base address: $ZRV31_UPDATE_URL, else the setting "UpdateServer"; without a
// trailing "/". Empty when neither names an http or https address: then nothing is asked.
std::string UpdateServerAddress(const platform::SettingsStore& store);

// "app_key=KEY&version=V" with V in lower-case hexadecimal for devices, decimal for the program,
// followed by a zero byte that is sent with it.
std::string UpdateRequestBody(std::string_view app_key, int current_version, bool hexadecimal);

// Reads an answer body. Anything but an object with string members "path", "name",
// "version_name", a "version" that is a number in the target's base (as text) and an integer
// "device_id" (members may be missing) gives an empty name and status 0.
UpdateInfo ParseUpdateAnswer(std::string_view answer, int current_version, bool hexadecimal);

// Asks base + "/api/updates". Name "NO_LINK_SERVER" (status 0) when there is no base address or no
// request reached the server; an empty name (status 0) when the answer failed or is not an update
// answer; otherwise status 1 (newer version) or 7 (up to date).
UpdateInfo CheckForUpdate(HttpClient& client, std::string_view base, std::string_view app_key, int current_version,
                          bool hexadecimal);

}  // namespace zrv::update
