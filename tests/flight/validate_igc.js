// Validates IGC logs with the independent igc-parser package: each file
// parses, has at least MIN fixes, and its fixes are one second apart.
// usage: node validate_igc.js MIN FILE...
const fs = require('fs');
const IGCParser = require('igc-parser');
const min = Number(process.argv[2]);
const files = process.argv.slice(3);
let failed = 0;
for (const file of files) {
  try {
    const log = IGCParser.parse(fs.readFileSync(file, 'utf8'), { lenient: false });
    const fixes = log.fixes;
    let gaps = 0;
    for (let i = 1; i < fixes.length; ++i) {
      if (fixes[i].timestamp - fixes[i - 1].timestamp !== 1000) ++gaps;
    }
    const ok = fixes.length >= min && gaps === 0;
    console.log(`${file}: ${fixes.length} fixes, ${gaps} gaps, ${ok ? 'ok' : 'FAILED'}`);
    if (!ok) ++failed;
  } catch (e) {
    console.log(`${file}: rejected: ${e.message}`);
    ++failed;
  }
}
if (files.length !== 2) {
  console.log(`expected two logs, got ${files.length}`);
  ++failed;
}
process.exit(failed ? 1 : 0);
