// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the radio's port (core/link/radioport_wasm.cpp calls these): Web Serial at
// 9600 baud 8N1, or a WebSocket carrying the same bytes when the page is opened with
// ?radio=ws://HOST:PORT. Arriving bytes wait here until the program takes them; the program is
// told of them, and of a broken line, through notify(id, kind).
"use strict";
globalThis.kt520Web = (() => {
  const lines = new Map(); // id -> {device, rx: Uint8Array[], told, error, port, reader, writer, socket, chain}
  let granted = []; // the Web Serial ports this page may open, in the browser's order
  const closing = new Map(); // device -> promise of its last close
  const params = new URLSearchParams(location.search);
  const radio = params.get("radio") || "";

  const api = {
    notify: () => {},
    hasSerial: () => !!(navigator.serial),
    radioAddress: () => (/^wss?:\/\//.test(radio) ? radio : ""),
    grantedPorts: () => granted.map((p) => {
      const info = p.getInfo ? p.getInfo() : {};
      const hex = (n) => n.toString(16).padStart(4, "0");
      return info.usbVendorId !== undefined ? hex(info.usbVendorId) + ":" + hex(info.usbProductId) : "";
    }),
    error: (id) => (lines.get(id) || {}).error || lastErrors.get(id) || "",
    available: (id) => {
      const line = lines.get(id);
      return line ? line.rx.reduce((n, chunk) => n + chunk.length, 0) : 0;
    },
    take: (id, max) => {
      const line = lines.get(id);
      if (!line) return new Uint8Array(0);
      const out = new Uint8Array(Math.min(max, api.available(id)));
      let at = 0;
      while (at < out.length) {
        const chunk = line.rx[0];
        const n = Math.min(chunk.length, out.length - at);
        out.set(chunk.subarray(0, n), at);
        at += n;
        if (n === chunk.length) line.rx.shift(); else line.rx[0] = chunk.subarray(n);
      }
      if (line.rx.length === 0) line.told = false;
      return out;
    },
    write: (id, bytes) => {
      const line = lines.get(id);
      if (!line || line.failed) return false;
      if (line.socket) {
        if (line.socket.readyState !== WebSocket.OPEN) return false;
        line.socket.send(bytes);
        return true;
      }
      line.chain = line.chain.then(() => line.writer.write(bytes)).catch((e) => fail(id, e));
      return true;
    },
    open: async (id, device) => {
      lastErrors.delete(id);
      await (closing.get(device) || Promise.resolve());
      try {
        const line = { device, rx: [], told: false, chain: Promise.resolve() };
        if (/^wss?:\/\//.test(device)) await openSocket(id, line);
        else await openSerial(id, line);
        lines.set(id, line);
        return 1;
      } catch (e) {
        lastErrors.set(id, describe(e));
        return 0;
      }
    },
    close: (id) => {
      const line = lines.get(id);
      if (!line) return;
      lines.delete(id);
      line.failed = true;
      closing.set(line.device, shut(line));
    },
  };
  const lastErrors = new Map();

  function describe(e) {
    if (e && e.name === "NotFoundError") return "No port was chosen in the browser's list.";
    if (e && e.name === "SecurityError") return "The browser does not allow this page to use serial ports.";
    return String((e && e.message) || e || "unknown error");
  }

  function received(id, line, bytes) {
    if (line.failed) return;
    line.rx.push(bytes);
    if (!line.told) {
      line.told = true;
      api.notify(id, 0);
    }
  }

  function fail(id, e) {
    const line = lines.get(id);
    if (!line || line.failed) return;
    line.failed = true;
    line.error = describe(e);
    lastErrors.set(id, line.error);
    api.notify(id, 1);
  }

  async function openSerial(id, line) {
    if (!navigator.serial)
      throw new Error("This browser has no Web Serial: use Chrome, Edge or Opera, on https:// or http://localhost.");
    granted = await navigator.serial.getPorts();
    const m = /^webserial:(\d+)$/.exec(line.device);
    let port = m ? granted[Number(m[1]) - 1] : undefined;
    if (!port) {
      port = await navigator.serial.requestPort();
      if (!granted.includes(port)) granted.push(port);
    }
    await port.open({ baudRate: 9600, dataBits: 8, parity: "none", stopBits: 1, flowControl: "none" });
    line.port = port;
    line.writer = port.writable.getWriter();
    line.reader = port.readable.getReader();
    (async () => {
      try {
        for (;;) {
          const { value, done } = await line.reader.read();
          if (done) break;
          if (value && value.length) received(id, line, value);
        }
      } catch (e) {
        fail(id, e);
      }
    })();
  }

  function openSocket(id, line) {
    return new Promise((resolve, reject) => {
      const socket = new WebSocket(line.device);
      socket.binaryType = "arraybuffer";
      let opened = false;
      socket.onopen = () => {
        opened = true;
        line.socket = socket;
        resolve();
      };
      socket.onmessage = (event) => received(id, line, new Uint8Array(event.data));
      socket.onerror = () => {
        if (!opened) reject(new Error("No answer from " + line.device + "."));
      };
      socket.onclose = () => {
        if (!opened) reject(new Error("No answer from " + line.device + "."));
        else fail(id, new Error("The connection to " + line.device + " was closed."));
      };
    });
  }

  async function shut(line) {
    try {
      if (line.socket) {
        line.socket.close();
        return;
      }
      await line.chain;
      if (line.reader) {
        await line.reader.cancel().catch(() => {});
        line.reader.releaseLock();
      }
      if (line.writer) line.writer.releaseLock();
      if (line.port) await line.port.close();
    } catch (e) {
      // A port already gone closes itself.
    }
  }

  if (navigator.serial) {
    navigator.serial.getPorts().then((ports) => { granted = ports; }).catch(() => {});
    navigator.serial.addEventListener("connect", (event) => {
      if (!granted.includes(event.target)) granted.push(event.target);
    });
    // A pulled cable: the line it carried breaks, as a vanished device does on the desktop.
    navigator.serial.addEventListener("disconnect", (event) => {
      for (const [id, line] of lines)
        if (line.port === event.target) fail(id, new Error("The serial port was unplugged."));
      granted = granted.filter((p) => p !== event.target);
    });
  }
  return api;
})();

// The page's side of the file dialogs (ui/common/filechooser_wasm.cpp): the browser's own
// choosers, and the files the program saved handed to the file the user chose, or downloaded.
globalThis.kt520Files = (() => {
  const targets = new Map(); // a path in the program's folder -> the file handle chosen for it
  return {
    chosen: new Map(), // token -> the chosen file's name, until the program takes it
    // Resolves with {name, bytes} of the file the user chose, or null when the chooser was
    // cancelled.
    pickOpen: (accept) => new Promise((resolve) => {
      // Without a key or click just before, the browser would not show the chooser and nothing
      // would ever answer: the choice ends as cancelled instead.
      if (navigator.userActivation && !navigator.userActivation.isActive) {
        console.warn("kt520: the browser shows its file chooser only right after a key or a click; try again");
        resolve(null);
        return;
      }
      const input = document.createElement("input");
      input.type = "file";
      if (accept) input.accept = accept;
      input.style.display = "none";
      document.body.appendChild(input);
      const done = (file) => { input.remove(); resolve(file); };
      input.addEventListener("change", () => {
        const file = input.files && input.files[0];
        if (!file) return done(null);
        file.arrayBuffer().then((bytes) => done({ name: file.name, bytes: new Uint8Array(bytes) }),
                                () => done(null));
      });
      input.addEventListener("cancel", () => done(null));
      input.click();
    }),
    // The browser's save dialog where it has one (Chrome, Edge, Opera): resolves with the chosen
    // name, or null when cancelled. Without one the suggested name is downloaded.
    pickSave: async (folder, suggested, description, extensions) => {
      if (!window.showSaveFilePicker) return suggested;
      try {
        const types = extensions.length
          ? [{ description: description || extensions.join(" "), accept: { "application/octet-stream": extensions } }]
          : undefined;
        const handle = await window.showSaveFilePicker({ suggestedName: suggested, types });
        targets.set(folder + "/" + handle.name, handle);
        return handle.name;
      } catch (e) {
        if (e && e.name === "AbortError") return null;
        // Refused (no user gesture, a sandboxed frame): the download still gives the file.
        console.warn("kt520: the browser's save dialog failed (" + e + "); the file is downloaded instead");
        return suggested;
      }
    },
    // Hands a file the program wrote in full to its chosen file, else as a download.
    deliver: async (path, bytes) => {
      const handle = targets.get(path);
      if (handle) {
        try {
          const writable = await handle.createWritable();
          await writable.write(bytes);
          await writable.close();
          console.log("kt520 saved: " + handle.name);
          return;
        } catch (e) {
          console.warn("kt520: " + handle.name + " could not be written (" + e + "); it is downloaded instead");
        }
      }
      const link = document.createElement("a");
      link.href = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
      link.download = path.split("/").pop();
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 60000);
      console.log("kt520 downloaded: " + link.download);
    },
  };
})();
