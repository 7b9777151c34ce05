// The section measurement of a DXF drawing, away from the page: a large or hostile drawing
// cannot freeze it, and the page stops this worker when it takes too long.
const ready = QuoinryModule();
self.onmessage = async (event) => {
  const { id, op, values, dxf, region, name } = event.data;
  let answer;
  try {
    const module = await ready;
    self.postMessage({ id, started: true });  // the time limit counts from here
    answer = op === 'regions'
      ? callCore(module, 'qy_regions', dxf)
      : callCore(module, 'qy_measured', values, dxf, region, { cstring: name });
  } catch (error) {
    answer = { error: '测量失败:' + (error && error.message ? error.message : String(error)) };
  }
  self.postMessage({ id, answer });
};
