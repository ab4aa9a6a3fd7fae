// SPDX-License-Identifier: GPL-3.0-or-later
// A WebSocket in front of a serial line, for the page's ?radio=ws://HOST:PORT: every byte from
// the socket goes to the line and every byte from the line to the socket, unchanged. One client
// at a time (a radio has one programming cable). Given a device, it bridges that; given
// --sim PROGRAM [ARGS...], it starts the virtual radio and bridges the pseudo-terminal it prints.
// Prints "bridge: ws://127.0.0.1:PORT DEVICE" once listening; ends when the line or the sim
// ends, or on SIGINT/SIGTERM.
//   node radio-bridge.mjs [--port N] DEVICE
//   node radio-bridge.mjs [--port N] --sim build/kt520-sim --baud 9600 [--image FILE ...]
// Run from beside the `ws` package (scripts/web-test.sh copies it there).
import fs from "node:fs";
import tty from "node:tty";
import { spawn, execFileSync } from "node:child_process";
import readline from "node:readline";
import { WebSocketServer } from "ws";

const args = process.argv.slice(2);
let port = 0;
if (args[0] === "--port") {
  port = Number(args[1]);
  args.splice(0, 2);
}
if (args.length === 0) {
  console.error("usage: radio-bridge.mjs [--port N] DEVICE | --sim PROGRAM [ARGS...]");
  process.exit(2);
}

let sim = null;
let device = args[0];
if (args[0] === "--sim") {
  sim = spawn(args[1], args.slice(2), { stdio: ["ignore", "pipe", "inherit"] });
  sim.on("exit", (code, signal) => finish(`the sim ended (${signal || code})`, 0));
  // The sim prints its device as its first line.
  device = await new Promise((resolve, reject) => {
    const lines = readline.createInterface({ input: sim.stdout });
    lines.once("line", (line) => resolve(line.trim()));
    sim.once("error", reject);
    sim.once("exit", () => reject(new Error("the sim printed no device")));
  });
}

// Raw, no echo: the bytes pass as they are. The baud rate means nothing on a pseudo-terminal
// (the sim paces the line itself) but is what a real cable needs.
execFileSync("stty", ["-F", device, "raw", "-echo", "9600"]);
const fd = fs.openSync(device, fs.constants.O_RDWR | fs.constants.O_NOCTTY);
// A terminal's own stream is told of arriving bytes by the system at once; a file stream reads
// through Node's thread pool, about a millisecond and a half later on every reply. Writes are a
// few bytes and go straight out.
const isTerminal = tty.isatty(fd);
const line = isTerminal ? new tty.ReadStream(fd) : fs.createReadStream(null, { fd, highWaterMark: 4096 });
if (isTerminal) line.setRawMode(true);
const out = { write: (bytes) => fs.writeSync(fd, bytes) };

let client = null;
let ending = false;
function finish(why, code) {
  if (ending) return;
  ending = true;
  console.log(`bridge: ${why}`);
  if (client) client.terminate();
  server.close();
  if (sim && sim.exitCode === null && sim.signalCode === null) sim.kill("SIGTERM");
  line.destroy();
  // The read stream's pending read holds the process; nothing else is left to do.
  setTimeout(() => process.exit(code), 100).unref();
  process.exitCode = code;
}

line.on("data", (bytes) => {
  // Bytes with nobody connected are dropped, as on a cable with no program at its end.
  if (client && client.readyState === client.OPEN) client.send(bytes);
});
line.on("error", (e) => finish(`the line failed: ${e.message}`, 1));
line.on("end", () => finish("the line closed", 0));

const server = new WebSocketServer({ host: "127.0.0.1", port });
server.on("connection", (socket) => {
  if (client) {
    socket.close(1013, "the radio is in use");
    return;
  }
  client = socket;
  socket.on("message", (bytes) => out.write(bytes));
  socket.on("close", () => {
    if (client === socket) client = null;
  });
  socket.on("error", () => {});
});
server.on("listening", () => console.log(`bridge: ws://127.0.0.1:${server.address().port} ${device}`));
server.on("error", (e) => finish(`cannot listen: ${e.message}`, 1));
process.on("SIGINT", () => finish("stopped", 0));
process.on("SIGTERM", () => finish("stopped", 0));
