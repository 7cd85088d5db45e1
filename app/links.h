// The outward addresses of the toolbox: the update page, the feedback thread, the author's
// contact address and the forum search. Portable.
#pragma once
#include <string>
#include <string_view>

namespace tb::shell {

// The forum, its threads and post; one constant each.
inline constexpr std::string_view kForumHost = "bbs.anjian.com";
inline constexpr int kUpdateThread = 236512;
inline constexpr int kUpdatePost = 2816441;
inline constexpr int kFeedbackThread = 236513;
inline constexpr std::string_view kContactAccount = "10001";
inline constexpr std::string_view kContactSite = "tarvo";

std::string update_address();
std::string feedback_address();
std::string contact_address();
// The search address for `query`: its GBK bytes percent-encoded after "wd=" (unreserved
// characters kept), so the engine receives exactly those bytes.
std::string search_address(std::string_view query);

}  // namespace tb::shell
