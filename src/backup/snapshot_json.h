#pragma once
#include <nlohmann/json.hpp>
#include <string>

#include "backup/config_snapshot.h"

namespace tarnwick {

// The snapshot as a JSON document; `codes`, unless null, says before the
// sections how the document keeps its codes.
nlohmann::ordered_json SnapshotDocument(const ConfigSnapshot& snapshot,
                                        const nlohmann::ordered_json& codes);
// The text as a JSON object; throws SnapshotError when it is none.
nlohmann::json ParseSnapshotText(const std::string& text);
// The snapshot a document holds, checked as SnapshotFromJson says; where
// `masked`, the digits of a code may show kCodeMask.
ConfigSnapshot SnapshotFromDocument(const nlohmann::json& document, bool masked);

}  // namespace tarnwick
