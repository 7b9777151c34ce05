// The calculation document: the core composes the package's parts (the same composition as the
// desktop program's), fflate zips them into the .docx.
function docxBytes(answer) {
  const files = {};
  for (const [name, base64] of answer.parts) files[name] = [base64Bytes(base64), { level: 6 }];
  return fflate.zipSync(files, { mtime: new Date(1980, 0, 1) });
}

function downloadDocx() {
  const answer = callCore(page.core, 'qy_docx', page.lastDesign || valueLines());
  if (answer.error) return status(answer.error, true);
  const name = (page.values.get(keyOf('design', 'name')) || '计算书').replace(/[\\/:*?"<>|]/g, '_');
  download(name + '.docx', docxBytes(answer),
    'application/vnd.openxmlformats-officedocument.wordprocessingml.document');
  status(answer.warnings.length ? '计算书已生成;' + answer.warnings.join(';') : '计算书已生成', false);
}
