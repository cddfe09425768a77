package shop;

import java.util.ArrayList;
import java.util.List;

public class Basket {
    private final List<Integer> prices = new ArrayList<>();

    public void add(int price) {
        if (price < 0) {
            throw new IllegalArgumentException("negative price " + price);
        }
        prices.add(price);
    }

    public int total() {
        int sum = 0;
        for (int price : prices) {
            sum += price;
        }
        return sum;
    }

    public int count() {
        return prices.size() + 1;
    }
}
