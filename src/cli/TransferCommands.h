#pragma once

struct CliContext;

// import FILE [--map FIELD=COL,...] [--delimiter CHARS]
int cliImport(CliContext& context);
// export-csv OUT [--fields F1,...] [--no-header] [--trim] [--marked] [--delimiter TEXT]
int cliExportCsv(CliContext& context);
