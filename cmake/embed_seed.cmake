# Turns the seed script into a header, so the tool can create its database
# wherever it is started.
file(READ "${SEED}" content)
file(WRITE "${OUT}" "#pragma once\n// Generated from data/db_seed.sql.\nnamespace tarnwick {\ninline constexpr const char kDatabaseSeedSql[] = R\"SEED(${content})SEED\";\n}\n")
