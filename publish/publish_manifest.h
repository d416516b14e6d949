#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "publish/publish_run.h"

namespace vendigo {

// What the server holds of the site, by path, as the last publish left it.
using PublishManifest = std::map<std::string, PublishFile>;

// Reads the manifest's JSON: {"files": {"path": {"size": N, "sha256": "..."}, ...}}. An entry
// that is not of that form is left out, so the file it names is sent again; nullopt when the
// text is no such object at all.
std::optional<PublishManifest> ParsePublishManifest(std::string_view json);

std::string SerializePublishManifest(const PublishManifest &manifest);

// The plan that brings the server from the manifest to the local files.
PublishPlan MakePublishPlan(const std::vector<PublishFile> &local, const PublishManifest &remote,
                            bool deleteRemoved);

}  // namespace vendigo
