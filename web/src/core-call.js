// Calls of the core's entry points (src/web/page_api.cpp): bytes go in through the module's
// heap, one JSON object comes back. Shared by the page and its worker.
const encoder = new TextEncoder();

function callCore(module, name, ...args) {
  const types = [];
  const values = [];
  const taken = [];
  try {
    for (const arg of args) {
      if (typeof arg === 'number') {
        types.push('number');
        values.push(arg);
      } else if (arg && typeof arg.cstring === 'string') {
        types.push('string');
        values.push(arg.cstring);
      } else {
        const bytes = typeof arg === 'string' ? encoder.encode(arg) : arg;
        const at = module._malloc(Math.max(bytes.length, 1));
        if (!at) throw new Error('内存不足');
        taken.push(at);
        module.HEAPU8.set(bytes, at);
        types.push('number', 'number');
        values.push(at, bytes.length);
      }
    }
    return JSON.parse(module.ccall(name, 'string', types, values));
  } finally {
    for (const at of taken) module._free(at);
  }
}
