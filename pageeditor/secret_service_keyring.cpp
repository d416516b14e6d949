// libsecret's headers come first: GLib's use "signals" as a name, which Qt's headers define.
#include <libsecret/secret.h>

#include "pageeditor/secret_service_keyring.h"

#include <memory>

namespace vendigo {
namespace {

const SecretSchema &Schema() {
  static const SecretSchema schema = {"org.vendigo.Publish",
                                      SECRET_SCHEMA_NONE,
                                      {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                      0,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr};
  return schema;
}

std::string Server(const PublishTarget &target) {
  std::string server = target.protocol == PublishProtocol::Sftp  ? "sftp://"
                       : target.protocol == PublishProtocol::Ftp ? "ftp://"
                                                                 : "ftps://";
  server += target.host;
  if (target.port != 0) server += ":" + std::to_string(target.port);
  return server;
}

using Attributes = std::unique_ptr<GHashTable, decltype(&g_hash_table_unref)>;

Attributes AttributesOf(const PublishTarget &target) {
  Attributes attributes(g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free),
                        g_hash_table_unref);
  g_hash_table_insert(attributes.get(), g_strdup("server"), g_strdup(Server(target).c_str()));
  g_hash_table_insert(attributes.get(), g_strdup("user"), g_strdup(target.user.c_str()));
  return attributes;
}

// Every failure means the same to the caller: the keyring cannot be used now. A dismissed
// unlock prompt reports no error, only a refusal.
SecretServiceKeyring::Outcome OutcomeOf(GError *error, bool refused = false) {
  const bool failed = error != nullptr || refused;
  if (error) g_error_free(error);
  return failed ? SecretServiceKeyring::Outcome::Unavailable : SecretServiceKeyring::Outcome::Done;
}

}  // namespace

std::optional<std::string> SecretServiceKeyring::Lookup(const PublishTarget &target,
                                                        Outcome &outcome) {
  GError *error = nullptr;
  gchar *password =
      secret_password_lookupv_sync(&Schema(), AttributesOf(target).get(), nullptr, &error);
  outcome = OutcomeOf(error);
  if (!password) return std::nullopt;
  std::string found(password);
  secret_password_free(password);
  return found;
}

SecretServiceKeyring::Outcome SecretServiceKeyring::Store(const PublishTarget &target,
                                                          const std::string &password) {
  GError *error = nullptr;
  const std::string label = "Vendigo publishing: " + target.user + " at " + Server(target);
  const gboolean stored =
      secret_password_storev_sync(&Schema(), AttributesOf(target).get(), SECRET_COLLECTION_DEFAULT,
                                  label.c_str(), password.c_str(), nullptr, &error);
  return OutcomeOf(error, !stored);
}

SecretServiceKeyring::Outcome SecretServiceKeyring::Clear(const PublishTarget &target) {
  GError *error = nullptr;
  secret_password_clearv_sync(&Schema(), AttributesOf(target).get(), nullptr, &error);
  return OutcomeOf(error);
}

}  // namespace vendigo
