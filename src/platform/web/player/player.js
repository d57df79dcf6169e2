// The game player: one emulator element at a time on a black page, driven by the program
// through window.velmora. Reports go to the program as console messages with a fixed prefix.
"use strict";

(() => {
    const options = {
        autoplay: "on",
        unmuteOverlay: "hidden",
        splashScreen: false,
        contextMenu: "on",
        menu: true,
        allowFullscreen: false,
        quality: "high",
        scale: "showAll",
        allowNetworking: "all",
        openUrlMode: "allow",
        // Lets games open pages in their own window too ("_self", "_top"), which become
        // new-window requests below. The page's script policy keeps games from running script.
        allowScriptAccess: true,
        showSwfDownload: false,
        warnOnUnsupportedContent: false,
        upgradeToHttps: false,
        polyfills: false,
        logLevel: "error",
    };
    // Also read by the emulator itself: no scanning of the page for Flash objects.
    window.RufflePlayer = window.RufflePlayer || {};
    window.RufflePlayer.config = options;

    let current = null;
    // The element whose emulator instance is built: it takes keys once it has the focus.
    let listening = null;

    function report(kind, details) {
        console.info("velmora:" + kind + " " + JSON.stringify(details));
    }

    // The emulator keeps a game's local shared objects in window.localStorage, under keys that
    // start with the host of the movie's address, the game's own id. The page's real storage
    // would be shared by every local page and reach the disk only seconds after a change, too
    // late when the program ends at once on close. This one holds what the game on display
    // has saved, and reports each change to the program, which writes it to disk at once.
    const saves = { entries: new Map(), limit: 0 };

    function weight(entries) {
        let total = 0;
        for (const [key, value] of entries) {
            total += key.length + value.length;
        }
        return total;
    }

    const storageMethods = {
        getItem: (key) => (saves.entries.has(String(key)) ? saves.entries.get(String(key)) : null),
        setItem(key, value) {
            key = String(key);
            value = String(value);
            const after = new Map(saves.entries).set(key, value);
            if (weight(after) > saves.limit) {
                // As a full browser storage does: the emulator's flush() then tells the game.
                throw new DOMException("The game's storage is full", "QuotaExceededError");
            }
            saves.entries = after;
            report("save", { key, value });
        },
        removeItem(key) {
            key = String(key);
            if (saves.entries.delete(key)) {
                report("save", { key });
            }
        },
        clear() {
            for (const key of [...saves.entries.keys()]) {
                storageMethods.removeItem(key);
            }
        },
        key: (index) => [...saves.entries.keys()][index] ?? null,
    };

    // The emulator reads and writes entries as properties, as of a real Storage.
    const storage = new Proxy({}, {
        get(target, name) {
            if (name === "length") {
                return saves.entries.size;
            }
            if (Object.hasOwn(storageMethods, name)) {
                return storageMethods[name];
            }
            return typeof name === "string" ? saves.entries.get(name) : undefined;
        },
        set(target, name, value) {
            storageMethods.setItem(name, value);
            return true;
        },
        deleteProperty(target, name) {
            storageMethods.removeItem(name);
            return true;
        },
        has: (target, name) => saves.entries.has(name),
        ownKeys: () => [...saves.entries.keys()],
        getOwnPropertyDescriptor(target, name) {
            return saves.entries.has(name)
                ? { value: saves.entries.get(name), writable: true, enumerable: true, configurable: true }
                : undefined;
        },
    });
    Object.defineProperty(window, "localStorage", { value: storage, configurable: true });

    // The emulator gets the movie under its game address, "velmora-game://<id>/<name>", from
    // which it names the game's shared objects; the address's files are read from the movie's
    // folder, where the program's filter decides what the game may read.
    const game = { prefix: "", url: "", file: "", folder: "" };
    const nativeFetch = window.fetch.bind(window);

    function decoded(text) {
        try {
            return decodeURIComponent(text);
        } catch {
            return text;
        }
    }

    function fileAddress(url) {
        if (!game.prefix || !url.startsWith(game.prefix)) {
            return null;
        }
        const isMovie = decoded(url.split(/[?#]/)[0]) === decoded(game.url);
        return isMovie ? game.file : game.folder + url.slice(game.prefix.length);
    }

    window.fetch = (input, init) => {
        const url = input instanceof Request ? input.url : String(input);
        const file = fileAddress(url);
        if (file === null) {
            return nativeFetch(input, init);
        }
        // The emulator takes the movie's address from the answer.
        return nativeFetch(file).then((response) => Object.defineProperty(response, "url", { value: url }));
    };

    function drop() {
        if (current) {
            current.remove();
            current = null;
        }
        document.getElementById("notice").hidden = true;
    }

    // What a game may do beyond drawing and sound. The program enforces the rules; this part
    // only tells it what it needs to know.

    // Relative addresses of a game lead into the folder of its movie, where its other files are.
    function movieOptions() {
        return { ...options, url: game.url, base: game.prefix };
    }

    // A game that sends the player's own window to a page ("_self", "_top", a form) asks for a
    // web page. That navigation becomes a new-window request, for which the engine tells the
    // program whether the user asked for it by a click or a key; the player page stays.
    function openNavigationsOutside() {
        if (!window.navigation) {
            return; // the program refuses the navigation all the same
        }
        window.navigation.addEventListener("navigate", (event) => {
            if (event.destination.sameDocument || !event.cancelable) {
                return;
            }
            event.preventDefault();
            window.open(event.destination.url, "_blank");
        });
    }

    // The emulator's right-click menu holds, after the game's own entries and the volume, an
    // entry that copies debug information for the emulator's makers and one that opens their
    // web site (every text of which names the emulator). Both go before the menu is drawn, with
    // the separators they leave; a menu opened above the pointer keeps its lower edge there.
    const idleEntries = [/^复制调试信息$/, /^copy debug info$/i, /ruffle/i];
    let pointerY = 0;
    document.addEventListener("contextmenu", (event) => { pointerY = event.clientY; }, true);

    function isSeparator(item) {
        return item.classList.contains("menu-separator");
    }

    function keepWorkingMenuEntries(player) {
        const menu = player.shadowRoot.getElementById("context-menu");
        if (!menu) {
            return;
        }
        new MutationObserver(() => {
            const before = menu.getBoundingClientRect();
            for (const item of [...menu.children]) {
                if (!isSeparator(item) && idleEntries.some((e) => e.test(item.dataset.text ?? ""))) {
                    item.remove();
                }
            }
            let previous = null;
            for (const item of [...menu.children]) {
                if (isSeparator(item) && (previous === null || isSeparator(previous))) {
                    item.remove();
                } else {
                    previous = item;
                }
            }
            if (previous !== null && isSeparator(previous)) {
                previous.remove();
            }
            const shrunk = before.height - menu.getBoundingClientRect().height;
            if (shrunk > 0 && before.bottom <= pointerY + 1) {
                menu.style.top = `${parseFloat(menu.style.top || "0") + shrunk}px`;
            }
        }).observe(menu, { childList: true });
    }

    // The emulator answers a movie it cannot play (an empty or damaged file) with a panic and an
    // error screen of its own, which names it and offers a stack trace with local paths. The
    // player is taken away before that screen is ever drawn (observers run before the next
    // paint), and a short notice takes its place. After a panic the emulator may fail every
    // later movie on this page; the program loads the page afresh before the next one.
    function replacePanic(player) {
        const observer = new MutationObserver(() => {
            if (player.shadowRoot.getElementById("panic")) {
                observer.disconnect();
                if (current === player) {
                    drop();
                    document.getElementById("notice").hidden = false;
                }
                report("panic", {});
            }
        });
        observer.observe(player.shadowRoot, { childList: true, subtree: true });
    }

    // The emulator takes keys only after it has seen its element gain the focus, and it
    // listens for that only once its instance is built, a while after play(). Focus given
    // before went unseen, and focusing the element again raises nothing while it has the focus:
    // so it is handed over once more when the instance is ready.
    function focusAgainWhenReady(player) {
        if (player === current && document.activeElement === player) {
            player.blur();
            player.focus();
            pressHeldKeys(player);
        }
    }

    // Keys held down on the page, by code. A key pressed with the click that chose a game came
    // before the emulator listened; held, it would reach the game only with the keyboard's
    // repeat, most of a second later, and not at all where keys do not repeat. So the game is
    // told of the keys held down once it takes keys.
    const heldKeys = new Map();
    document.addEventListener("keydown", (event) => {
        if (event.isTrusted) {
            heldKeys.set(event.code, event);
        }
    }, true);
    document.addEventListener("keyup", (event) => heldKeys.delete(event.code), true);
    window.addEventListener("blur", () => heldKeys.clear());

    function pressHeldKeys(player) {
        for (const held of heldKeys.values()) {
            player.dispatchEvent(new KeyboardEvent("keydown", {
                key: held.key, code: held.code, keyCode: held.keyCode, which: held.which,
                location: held.location, shiftKey: held.shiftKey, ctrlKey: held.ctrlKey,
                altKey: held.altKey, metaKey: held.metaKey, bubbles: true, cancelable: true,
            }));
        }
    }

    // The emulator's code is fetched and compiled once per page, on its first movie. A small
    // empty movie at page load does that before the user chooses a game, so that the first
    // game starts as quickly as the later ones.
    function warmUp() {
        // Version 10, 17 bytes: an empty stage, one frame, then the end tag.
        const emptyMovie = new Uint8Array([
            0x46, 0x57, 0x53, 0x0a, 0x11, 0x00, 0x00, 0x00, 0x00,
            0x00, 0x0c, 0x01, 0x00, 0x40, 0x00, 0x00, 0x00,
        ]);
        const player = window.RufflePlayer.newest().createPlayer();
        player.style.display = "none";
        document.body.appendChild(player);
        const done = () => player.remove();
        player.ruffle().load({ ...options, data: emptyMovie }).then(done, done);
    }

    openNavigationsOutside();

    window.velmora = {
        // Replaces whatever plays by the movie movie.url (its game address; movie.file is the
        // file's address, movie.folder that of its folder); serial tags the reports of this
        // movie. stored: what the game has saved (key to value); limit: how much it may keep.
        play(movie, serial, stored, limit) {
            drop(); // the emulator saves the game that leaves
            game.url = movie.url;
            game.prefix = movie.url.slice(0, movie.url.indexOf("/", movie.url.indexOf("//") + 2) + 1);
            game.file = movie.file;
            game.folder = movie.folder;
            saves.entries = new Map(Object.entries(stored));
            saves.limit = limit;
            const player = window.RufflePlayer.newest().createPlayer();
            player.className = "game";
            // Focusable, so that the program can hand it the keyboard.
            player.tabIndex = 0;
            player.addEventListener("loadedmetadata", () => {
                const api = player.ruffle();
                if (api.readyState === 2) {
                    const m = api.metadata;
                    report("loaded", { serial, width: m.width, height: m.height, frameRate: m.frameRate });
                }
            });
            replacePanic(player);
            keepWorkingMenuEntries(player);
            document.body.appendChild(player);
            current = player;
            player.ruffle().load(movieOptions()).then(() => {
                listening = player;
                focusAgainWhenReady(player);
            }, () => {});
        },
        // The emulator saves the game on the way out; the report follows its saves.
        stop() {
            drop();
            report("stopped", {});
        },
        focus() {
            if (current) {
                const hadFocus = document.activeElement === current;
                current.focus();
                if (!hadFocus && listening === current) {
                    pressHeldKeys(current);
                }
            }
        },
    };

    // This script runs in the page's head, before the body exists.
    document.addEventListener("DOMContentLoaded", warmUp);
})();
