#include "publish/publish_manifest.h"

#include <nlohmann/json.hpp>

namespace vendigo {

std::optional<PublishManifest> ParsePublishManifest(std::string_view json) {
  const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
  if (!document.is_object() || !document.contains("files") || !document["files"].is_object()) {
    return std::nullopt;
  }
  PublishManifest manifest;
  for (const auto &[path, entry] : document["files"].items()) {
    if (!entry.is_object() || !entry.contains("size") || !entry["size"].is_number_unsigned() ||
        !entry.contains("sha256") || !entry["sha256"].is_string()) {
      continue;
    }
    manifest[path] = {path, entry["size"].get<std::uint64_t>(), entry["sha256"].get<std::string>()};
  }
  return manifest;
}

std::string SerializePublishManifest(const PublishManifest &manifest) {
  nlohmann::json files = nlohmann::json::object();
  for (const auto &[path, file] : manifest) {
    files[path] = {{"size", file.size}, {"sha256", file.sha256}};
  }
  return nlohmann::json{{"files", files}}.dump(1, ' ', false,
                                               nlohmann::json::error_handler_t::replace) +
         "\n";
}

PublishPlan MakePublishPlan(const std::vector<PublishFile> &local, const PublishManifest &remote,
                            bool deleteRemoved) {
  PublishPlan plan;
  std::map<std::string, bool> present;
  for (const PublishFile &file : local) {
    present[file.path] = true;
    const auto published = remote.find(file.path);
    if (published != remote.end() && published->second.sha256 == file.sha256 &&
        published->second.size == file.size) {
      ++plan.unchanged;
    } else {
      plan.uploads.push_back(file);
      plan.uploadBytes += file.size;
    }
  }
  for (const auto &[path, file] : remote) {
    if (present.contains(path)) continue;
    (deleteRemoved ? plan.deletions : plan.kept).push_back(path);
  }
  return plan;
}

}  // namespace vendigo
