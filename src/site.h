#pragma once

// The community site this client is made for. Every text that names the site is built from this
// one constant: the captions, the tray tip, the home page URL and the version resource.
// ASCII, at most 30 bytes, so that the tray tip fits its 62 bytes.
#define SITE_HOST "cuixiao.club"

#ifdef __cplusplus
inline constexpr char kSiteHost[] = SITE_HOST;
static_assert(sizeof(kSiteHost) - 1 <= 30, "the tray tip leaves room for 30 bytes of host name");
#endif
