// The converter's worker: reads the chosen file where it is (WORKERFS, nothing copied into
// memory), runs the analysis or the conversion in the WebAssembly module and sends the TMX back
// as a Blob. The page runs one job at a time here and ends the worker to cancel one.
'use strict';
importScripts('velmar.js');

const OUTPUT = '/tmx-output';
const INPUT = '/input';
const FOLD_BYTES = 32 << 20; // pieces of the TMX are folded into a Blob every 32 MB

let jobId = 0;
let pieces = [];
let pendingBytes = 0;

function collect(bytes) {
  pieces.push(bytes);
  pendingBytes += bytes.length;
  if (pendingBytes >= FOLD_BYTES) {
    pieces = [new Blob(pieces)];
    pendingBytes = 0;
  }
}

const ready = createVelmar({
  print() {},
  printErr(text) { console.warn(text); },
  onVelmarProgress(percent, units) {
    postMessage({ id: jobId, type: 'progress', percent, units });
  },
}).then((module) => {
  const FS = module.FS;
  // A device that hands every write to collect(): the TMX never lives in the module's memory.
  const device = FS.makedev(64, 0);
  FS.registerDevice(device, {
    open() {},
    close() {},
    read() { return 0; },
    write(stream, buffer, offset, length) {
      collect(buffer.slice(offset, offset + length));
      return length;
    },
  });
  FS.mkdev(OUTPUT, device);
  FS.mkdir(INPUT);
  readAhead(FS.filesystems.WORKERFS);
  return {
    module,
    catalogue: module.cwrap('velmar_catalogue', 'string', []),
    analyse: module.cwrap('velmar_analyse', 'string', ['string']),
    convert: module.cwrap('velmar_convert', 'string', ['string', 'string']),
  };
});

// WORKERFS reads each request of the engine (64 KB) from the file on its own, and every read
// of a File costs a round trip to the browser: reads are served from a window of READ_AHEAD
// bytes instead, read at once. Only that window is in memory, never the whole file.
const READ_AHEAD = 8 << 20;
let ahead = { file: null, start: 0, bytes: new Uint8Array(0) };

function readAhead(workerfs) {
  const reader = new FileReaderSync();
  workerfs.stream_ops.read = (stream, buffer, offset, length, position) => {
    const file = stream.node.contents;
    if (position >= file.size) return 0;
    const end = ahead.start + ahead.bytes.length;
    if (ahead.file !== file || position < ahead.start || (position + length > end && end < file.size)) {
      const last = Math.min(file.size, position + Math.max(READ_AHEAD, length));
      ahead = { file, start: position, bytes: new Uint8Array(reader.readAsArrayBuffer(file.slice(position, last))) };
    }
    const from = position - ahead.start;
    const n = Math.min(length, ahead.bytes.length - from);
    buffer.set(ahead.bytes.subarray(from, from + n), offset);
    return n;
  };
}

// Runs fn with the file mounted at INPUT and INPUT the working folder, so that the paths the
// engine reports are the file's own name.
function withFile(velmar, file, fn) {
  const FS = velmar.module.FS;
  FS.mount(FS.filesystems.WORKERFS, { files: [file] }, INPUT);
  FS.chdir(INPUT);
  try {
    return fn(file.name);
  } finally {
    FS.chdir('/');
    FS.unmount(INPUT);
    ahead = { file: null, start: 0, bytes: new Uint8Array(0) };
  }
}

function convert(velmar, job) {
  pieces = [];
  pendingBytes = 0;
  const request = Object.assign({}, job.request, { txtPath: job.file.name });
  const result = JSON.parse(withFile(velmar, job.file, () => velmar.convert(JSON.stringify(request), OUTPUT)));
  const type = job.request.utf16 ? 'application/x-tmx+xml;charset=utf-16le' : 'application/x-tmx+xml;charset=utf-8';
  const tmx = result.outcome === 'written' ? new Blob(pieces, { type }) : null;
  pieces = [];
  const memory = velmar.module.HEAP8.length;
  return { result, tmx, memory };
}

onmessage = async (event) => {
  const job = event.data;
  const velmar = await ready;
  jobId = job.id;
  try {
    if (job.type === 'catalogue') {
      postMessage({ id: job.id, type: 'catalogue', catalogue: JSON.parse(velmar.catalogue()) });
    } else if (job.type === 'analyse') {
      const analysis = JSON.parse(withFile(velmar, job.file, (name) => velmar.analyse(name)));
      postMessage({ id: job.id, type: 'analysis', analysis });
    } else if (job.type === 'convert') {
      postMessage(Object.assign({ id: job.id, type: 'converted' }, convert(velmar, job)));
    }
  } catch (error) {
    postMessage({ id: job.id, type: 'failed', message: String(error && error.message || error) });
  }
};
