package tovin.engine;

import com.google.gson.JsonElement;
import com.google.gson.JsonNull;
import java.util.function.BooleanSupplier;

/** Signature help, hover, definition and references. */
final class Navigator {
    private final Assistant assistant;

    Navigator(Assistant assistant) {
        this.assistant = assistant;
    }

    JsonElement signatureHelp(Assistant.Text text, int offset, BooleanSupplier cancelled) {
        return JsonNull.INSTANCE;
    }

    JsonElement hover(Assistant.Text text, int offset, BooleanSupplier cancelled) {
        return JsonNull.INSTANCE;
    }

    JsonElement definition(Assistant.Text text, int offset, BooleanSupplier cancelled) {
        return JsonNull.INSTANCE;
    }

    JsonElement references(Assistant.Text text, int offset, boolean declaration, BooleanSupplier cancelled) {
        return JsonNull.INSTANCE;
    }
}
