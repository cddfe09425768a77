package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.google.gson.JsonPrimitive;

/** Reading fields of a peer's message, where any field may be missing or of the wrong kind. */
final class Json {
    /** A message whose shape is not what its method requires. */
    static final class BadMessage extends RuntimeException {
        private static final long serialVersionUID = 1L;

        BadMessage(String what) {
            super(what);
        }
    }

    private Json() {
    }

    static JsonObject object(JsonElement parent, String key) {
        JsonElement value = field(parent, key);
        if (value == null || !value.isJsonObject()) {
            throw new BadMessage("'" + key + "' must be an object");
        }
        return value.getAsJsonObject();
    }

    static JsonObject optionalObject(JsonElement parent, String key) {
        JsonElement value = field(parent, key);
        return value != null && value.isJsonObject() ? value.getAsJsonObject() : null;
    }

    static JsonArray array(JsonElement parent, String key) {
        JsonElement value = field(parent, key);
        if (value == null || !value.isJsonArray()) {
            throw new BadMessage("'" + key + "' must be an array");
        }
        return value.getAsJsonArray();
    }

    static String string(JsonElement parent, String key) {
        String value = optionalString(parent, key);
        if (value == null) {
            throw new BadMessage("'" + key + "' must be a string");
        }
        return value;
    }

    static String optionalString(JsonElement parent, String key) {
        JsonElement value = field(parent, key);
        return value != null && value.isJsonPrimitive() && value.getAsJsonPrimitive().isString()
                ? value.getAsString()
                : null;
    }

    static int integer(JsonElement parent, String key) {
        JsonElement value = field(parent, key);
        if (value == null || !value.isJsonPrimitive() || !value.getAsJsonPrimitive().isNumber()) {
            throw new BadMessage("'" + key + "' must be a number");
        }
        double number = value.getAsDouble();
        if (number != Math.rint(number) || number < 0 || number > Integer.MAX_VALUE) {
            throw new BadMessage("'" + key + "' must be a whole number from 0 up");
        }
        return (int) number;
    }

    static boolean flag(JsonElement parent, String... path) {
        JsonElement value = parent;
        for (String key : path) {
            value = field(value, key);
        }
        return value != null && value.isJsonPrimitive() && value.getAsJsonPrimitive().isBoolean()
                && value.getAsBoolean();
    }

    /** A request's id as the peer wrote it (number or string), or null when it is neither. */
    static JsonPrimitive id(JsonObject message) {
        JsonElement id = message.get("id");
        if (id != null && id.isJsonPrimitive()
                && (id.getAsJsonPrimitive().isNumber() || id.getAsJsonPrimitive().isString())) {
            return id.getAsJsonPrimitive();
        }
        return null;
    }

    private static JsonElement field(JsonElement parent, String key) {
        if (parent == null || !parent.isJsonObject()) {
            return null;
        }
        JsonElement value = parent.getAsJsonObject().get(key);
        return value == null || value.isJsonNull() ? null : value;
    }
}
